#include "image/bmp_file_image.h"

#include <cstdlib>

namespace lumenta::image {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

void Put16(ByteBuffer& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(ByteBuffer& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

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
  const std::uint64_t stride =
      (static_cast<std::uint64_t>(std::llabs(header.width)) * header.bitCount + 31) / 32 * 4;
  return stride * static_cast<std::uint64_t>(std::llabs(header.height));
}

std::optional<ByteBuffer> MakeBmpFileImage(const DibHeader& header, std::string_view colourTable,
                                           std::string_view pixels) {
  const std::uint64_t entries = ColourTableEntries(header);
  if (colourTable.size() < entries * 4) return std::nullopt;
  const std::uint64_t offset = kFileHeaderSize + kInfoHeaderSize + entries * 4;
  const std::uint64_t total = offset + pixels.size();
  if (total > UINT32_MAX) return std::nullopt;

  ByteBuffer out;
  out.reserve(static_cast<std::size_t>(total));
  out += "BM";
  Put32(out, static_cast<std::uint32_t>(total));
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, static_cast<std::uint32_t>(offset));
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<std::uint32_t>(header.width));
  Put32(out, static_cast<std::uint32_t>(header.height));
  Put16(out, header.planes);
  Put16(out, header.bitCount);
  Put32(out, header.compression);
  Put32(out, header.sizeImage);
  Put32(out, static_cast<std::uint32_t>(header.xPelsPerMeter));
  Put32(out, static_cast<std::uint32_t>(header.yPelsPerMeter));
  Put32(out, header.coloursUsed);
  Put32(out, header.coloursImportant);
  out.append(colourTable.substr(0, static_cast<std::size_t>(entries * 4)));
  out.append(pixels);
  return out;
}

}  // namespace lumenta::image
