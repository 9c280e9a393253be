#pragma once
// Reads back the BMP files the capture tool stores and writes (image/bmp_encoding.h): the header
// fields and the colour of each pixel of an uncompressed 24- or 32-bit picture.
#include <cstdint>
#include <optional>
#include <string_view>

#include "image/bmp_encoding.h"

namespace lumenta::image::bmpread {

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline std::uint32_t ReadLe(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return v;
}

struct BmpFile {
  std::uint16_t type = 0;
  std::uint32_t fileSize = 0;
  std::uint16_t reserved1 = 0;
  std::uint16_t reserved2 = 0;
  std::uint32_t pixelOffset = 0;
  std::uint32_t headerSize = 0;
  BmpFormat format;
  std::string_view pixels;  // from the pixel offset to the end

  // The colour of pixel (x, y), y counted from the top.
  [[nodiscard]] Rgb At(int x, int y) const {
    const int bytesPerPixel = format.bitCount / 8;
    const int row = format.height > 0 ? format.height - 1 - y : y;
    const std::size_t at =
        static_cast<std::size_t>(row) * BmpRowStride(format.width, format.bitCount) +
        static_cast<std::size_t>(x) * bytesPerPixel;
    return {static_cast<std::uint8_t>(pixels[at + 2]), static_cast<std::uint8_t>(pixels[at + 1]),
            static_cast<std::uint8_t>(pixels[at])};
  }
  [[nodiscard]] int Width() const { return format.width; }
  [[nodiscard]] int Height() const { return format.height < 0 ? -format.height : format.height; }
};

// Nothing when the bytes are too short for the headers they announce or for their rows.
inline std::optional<BmpFile> ReadBmp(std::string_view bytes) {
  if (bytes.size() < 54) return std::nullopt;
  BmpFile f;
  f.type = static_cast<std::uint16_t>(ReadLe(bytes, 0, 2));
  f.fileSize = ReadLe(bytes, 2, 4);
  f.reserved1 = static_cast<std::uint16_t>(ReadLe(bytes, 6, 2));
  f.reserved2 = static_cast<std::uint16_t>(ReadLe(bytes, 8, 2));
  f.pixelOffset = ReadLe(bytes, 10, 4);
  f.headerSize = ReadLe(bytes, 14, 4);
  BmpFormat& m = f.format;
  m.width = static_cast<std::int32_t>(ReadLe(bytes, 18, 4));
  m.height = static_cast<std::int32_t>(ReadLe(bytes, 22, 4));
  m.planes = static_cast<std::uint16_t>(ReadLe(bytes, 26, 2));
  m.bitCount = static_cast<std::uint16_t>(ReadLe(bytes, 28, 2));
  m.compression = ReadLe(bytes, 30, 4);
  m.imageSize = ReadLe(bytes, 34, 4);
  m.xPelsPerMeter = static_cast<std::int32_t>(ReadLe(bytes, 38, 4));
  m.yPelsPerMeter = static_cast<std::int32_t>(ReadLe(bytes, 42, 4));
  m.coloursUsed = ReadLe(bytes, 46, 4);
  m.importantColours = ReadLe(bytes, 50, 4);
  if (f.pixelOffset >= 58 && bytes.size() >= 58) m.colourEntry = ReadLe(bytes, 54, 4);
  if (f.pixelOffset > bytes.size()) return std::nullopt;
  f.pixels = bytes.substr(f.pixelOffset);
  const int height = m.height < 0 ? -m.height : m.height;
  if (f.pixels.size() < BmpRowStride(m.width, m.bitCount) * height) return std::nullopt;
  return f;
}

}  // namespace lumenta::image::bmpread
