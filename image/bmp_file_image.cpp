#include "image/bmp_file_image.h"

#include <cstdlib>

namespace lumenta::image {

std::uint32_t ColourTableEntries(const DibHeader& header) {
  switch (header.bitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return header.coloursUsed;
  }
}

std::uint64_t DibPixelBytes(const DibHeader& header) {
  return BmpRowStride(header.width, header.bitCount) *
         static_cast<std::uint64_t>(std::llabs(header.height));
}

std::optional<ByteBuffer> MakeBmpFileImage(const DibHeader& header, std::string_view colourTable,
                                           std::string_view pixels) {
  const std::uint64_t entries = ColourTableEntries(header);
  if (colourTable.size() < entries * 4) return std::nullopt;
  const std::uint64_t offset = kBmpFileHeaderSize + kBmpInfoHeaderSize + entries * 4;
  const std::uint64_t total = offset + pixels.size();
  if (total > UINT32_MAX) return std::nullopt;

  ByteBuffer out;
  out.reserve(static_cast<std::size_t>(total));
  AppendBmpHeaders(out, header, static_cast<std::uint32_t>(offset),
                   static_cast<std::uint32_t>(total));
  out.append(colourTable.substr(0, static_cast<std::size_t>(entries * 4)));
  out.append(pixels);
  return out;
}

}  // namespace lumenta::image
