#include "image/bmp_headers.h"

#include <cstdlib>

namespace lumenta::image {
namespace {

void AppendLe16(ByteBuffer& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

}  // namespace

std::uint64_t BmpRowStride(std::int32_t width, std::uint16_t bitCount) {
  const std::uint64_t bits = static_cast<std::uint64_t>(std::llabs(width)) * bitCount;
  return (bits + 31) / 32 * 4;
}

void AppendLe32(ByteBuffer& out, std::uint32_t value) {
  AppendLe16(out, value & 0xFFFF);
  AppendLe16(out, value >> 16);
}

void AppendBmpHeaders(ByteBuffer& out, const DibHeader& header, std::uint32_t pixelOffset,
                      std::uint32_t fileSize) {
  out.append("BM");
  AppendLe32(out, fileSize);
  AppendLe16(out, 0);
  AppendLe16(out, 0);
  AppendLe32(out, pixelOffset);
  AppendLe32(out, kBmpInfoHeaderSize);
  AppendLe32(out, static_cast<std::uint32_t>(header.width));
  AppendLe32(out, static_cast<std::uint32_t>(header.height));
  AppendLe16(out, header.planes);
  AppendLe16(out, header.bitCount);
  AppendLe32(out, header.compression);
  AppendLe32(out, header.sizeImage);
  AppendLe32(out, static_cast<std::uint32_t>(header.xPelsPerMeter));
  AppendLe32(out, static_cast<std::uint32_t>(header.yPelsPerMeter));
  AppendLe32(out, header.coloursUsed);
  AppendLe32(out, header.coloursImportant);
}

}  // namespace lumenta::image
