#include "capture/bmp_encoding.h"

#include <cstdlib>

namespace lumenta::capture {
namespace {

void Put16(ByteBuffer& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(ByteBuffer& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::uint64_t BmpRowStride(std::int32_t width, std::uint16_t bitCount) {
  const std::uint64_t bits = static_cast<std::uint64_t>(std::llabs(width)) * bitCount;
  return (bits + 31) / 32 * 4;
}

std::uint64_t BmpPixelDataSize(const BmpFormat& format) {
  const std::uint64_t rows = BmpRowStride(format.width, format.bitCount) *
                             static_cast<std::uint64_t>(std::llabs(format.height));
  return format.imageSize > rows ? format.imageSize : rows;
}

ByteBuffer AssembleBmpFile(const BmpFormat& format, std::string_view pixels) {
  const auto imageSize = static_cast<std::uint32_t>(pixels.size());
  ByteBuffer out;
  out.reserve(kBmpPixelOffset + pixels.size());
  out += "BM";
  Put32(out, kBmpPixelOffset + imageSize);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, kBmpPixelOffset);
  Put32(out, kBmpInfoHeaderSize);
  Put32(out, static_cast<std::uint32_t>(format.width));
  Put32(out, static_cast<std::uint32_t>(format.height));
  Put16(out, format.planes);
  Put16(out, format.bitCount);
  Put32(out, 0);  // uncompressed
  Put32(out, imageSize);
  Put32(out, static_cast<std::uint32_t>(format.xPelsPerMeter));
  Put32(out, static_cast<std::uint32_t>(format.yPelsPerMeter));
  Put32(out, format.coloursUsed);
  Put32(out, format.importantColours);
  Put32(out, format.colourEntry);
  out.append(pixels);
  return out;
}

}  // namespace lumenta::capture
