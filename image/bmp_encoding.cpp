#include "image/bmp_encoding.h"

#include <cstdlib>

namespace lumenta::image {

std::uint64_t BmpPixelDataSize(const BmpFormat& format) {
  const std::uint64_t rows = BmpRowStride(format.width, format.bitCount) *
                             static_cast<std::uint64_t>(std::llabs(format.height));
  return format.imageSize > rows ? format.imageSize : rows;
}

ByteBuffer AssembleBmpFile(const BmpFormat& format, std::string_view pixels) {
  const auto imageSize = static_cast<std::uint32_t>(pixels.size());
  const DibHeader header{.width = format.width,
                         .height = format.height,
                         .planes = format.planes,
                         .bitCount = format.bitCount,
                         .compression = 0,  // uncompressed, whatever the platform said
                         .sizeImage = imageSize,
                         .xPelsPerMeter = format.xPelsPerMeter,
                         .yPelsPerMeter = format.yPelsPerMeter,
                         .coloursUsed = format.coloursUsed,
                         .coloursImportant = format.importantColours};
  ByteBuffer out;
  out.reserve(kBmpPixelOffset + pixels.size());
  AppendBmpHeaders(out, header, kBmpPixelOffset, kBmpPixelOffset + imageSize);
  AppendLe32(out, format.colourEntry);
  out.append(pixels);
  return out;
}

}  // namespace lumenta::image
