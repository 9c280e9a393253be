#include "image/pcx_decoder.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "image/byte_view.h"

namespace lumenta::image {
namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteSize = 769;  // the marker byte 12 and 256 RGB triples
constexpr std::uint8_t kPaletteMarker = 12;

// The 16 colours of the EGA display, for 16-colour files that do not bring their own.
constexpr std::uint32_t kEgaColours[16] = {
    0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
    0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};

// Undoes the run-length coding: a byte with both high bits set repeats the next byte (its low
// six bits times); any other byte stands for itself. Runs may cross row boundaries.
class RunReader {
 public:
  RunReader(ByteView data, std::size_t at, std::size_t end) : data_(data), at_(at), end_(end) {}
  // Fills `out` completely; false when the data ends first.
  bool Read(std::uint8_t* out, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
      if (run_ == 0) {
        if (at_ >= end_) return false;
        const std::uint8_t b = data_.U8(at_++);
        if ((b & 0xC0) == 0xC0) {
          if (at_ >= end_) return false;
          run_ = b & 0x3F;
          value_ = data_.U8(at_++);
        } else {
          run_ = 1;
          value_ = b;
        }
        continue;
      }
      const std::size_t n = std::min<std::size_t>(run_, count - done);
      std::memset(out + done, value_, n);
      done += n;
      run_ -= n;
    }
    return true;
  }

 private:
  ByteView data_;
  std::size_t at_;
  std::size_t end_;
  std::size_t run_ = 0;
  std::uint8_t value_ = 0;
};

}  // namespace

Image DecodePcx(std::string_view bytes) {
  const ByteView file(bytes);
  if (!file.Has(0, kHeaderSize) || file.U8(0) != 10 || file.U8(2) != 1) return Image();
  const int bits = file.U8(3);
  const int planes = file.U8(65);
  const int xMin = file.Le16(4), yMin = file.Le16(6), xMax = file.Le16(8), yMax = file.Le16(10);
  const std::size_t bytesPerLine = file.Le16(66);
  if (xMax < xMin || yMax < yMin) return Image();
  const int width = xMax - xMin + 1;
  const int height = yMax - yMin + 1;
  const bool indexed8 = bits == 8 && planes == 1;
  const bool direct = bits == 8 && (planes == 3 || planes == 4);
  const bool planar1 = bits == 1 && planes >= 1 && planes <= 4;
  if (!indexed8 && !direct && !planar1) return Image();
  if (!SizeAllowed(width, height)) return Image();
  if (bytesPerLine * 8 < static_cast<std::size_t>(width) * bits) return Image();

  std::uint32_t palette[256];
  std::size_t dataEnd = file.size;
  if (indexed8) {
    const bool tableAtEnd = file.size >= kHeaderSize + kPaletteSize &&
                            file.U8(file.size - kPaletteSize) == kPaletteMarker;
    for (int i = 0; i < 256; ++i) {
      if (tableAtEnd) {
        const std::size_t at = file.size - kPaletteSize + 1 + 3 * i;
        palette[i] = 0xFF000000u | file.U8(at) << 16 | file.U8(at + 1) << 8 | file.U8(at + 2);
      } else {
        palette[i] = 0xFF000000u | i << 16 | i << 8 | i;
      }
    }
    if (tableAtEnd) dataEnd = file.size - kPaletteSize;
  } else if (planar1) {
    if (planes == 1) {
      palette[0] = 0xFF000000u;
      palette[1] = 0xFFFFFFFFu;
    } else {
      bool headerTable = false;
      for (int i = 0; i < 48; ++i) headerTable |= file.U8(16 + i) != 0;
      for (int i = 0; i < 16; ++i) {
        palette[i] = 0xFF000000u | (headerTable ? file.U8(16 + 3 * i) << 16 |
                                                      file.U8(17 + 3 * i) << 8 | file.U8(18 + 3 * i)
                                                : kEgaColours[i]);
      }
    }
  }

  Image image = Image::Create(width, height);
  if (image.empty()) return image;
  std::vector<std::uint8_t> line(bytesPerLine * planes);
  RunReader reader(file, kHeaderSize, dataEnd);
  int rows = 0;
  for (; rows < height; ++rows) {
    if (!reader.Read(line.data(), line.size())) break;
    std::uint8_t* dst = image.Row(rows);
    for (int x = 0; x < width; ++x, dst += 4) {
      std::uint32_t argb;
      if (indexed8) {
        argb = palette[line[x]];
      } else if (direct) {
        argb = static_cast<std::uint32_t>(line[x]) << 16 | line[bytesPerLine + x] << 8 |
               line[2 * bytesPerLine + x];
        argb |= planes == 4 ? static_cast<std::uint32_t>(line[3 * bytesPerLine + x]) << 24
                            : 0xFF000000u;
      } else {
        int index = 0;
        for (int p = 0; p < planes; ++p) {
          index |= ((line[p * bytesPerLine + x / 8] >> (7 - (x & 7))) & 1) << p;
        }
        argb = palette[index];
      }
      dst[0] = static_cast<std::uint8_t>(argb);
      dst[1] = static_cast<std::uint8_t>(argb >> 8);
      dst[2] = static_cast<std::uint8_t>(argb >> 16);
      dst[3] = static_cast<std::uint8_t>(argb >> 24);
    }
  }
  if (rows == 0) return Image();
  return image;
}

}  // namespace lumenta::image
