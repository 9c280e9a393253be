#pragma once
// Writers for the small picture files the image tests decode: PNG and JPEG through libpng and
// libjpeg, BMP, GIF (with a real LZW coder), icon/cursor and PCX assembled byte by byte. Each
// writer takes the pixels in a plain form so that a test states the colours it expects itself.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumenta::image {
class Image;
}

namespace lumenta::image::testing {

using Bytes = std::string;

// "WxH: AARRGGBB AARRGGBB / AARRGGBB ..." (rows split by " / "): a picture as text, so that a
// failed comparison shows every pixel.
std::string Describe(const Image& image);
std::string Describe(int width, int height, const std::vector<std::uint32_t>& argb);

// ---- PNG (libpng) ----
struct PngSpec {
  int width = 0;
  int height = 0;
  int colorType = 0;  // PNG_COLOR_TYPE_*
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<std::array<std::uint8_t, 3>> palette{};  // RGB
  std::vector<std::uint8_t> paletteAlpha{};            // tRNS for a palette
  bool hasTransparentColour = false;                   // tRNS for grey or RGB
  std::uint16_t transparentGrey = 0;
  std::array<std::uint16_t, 3> transparentRgb{};
  // Rows as libpng wants them: packed samples, 16-bit samples big-endian.
  std::vector<Bytes> rows{};
};
Bytes WritePng(const PngSpec& spec);

// ---- JPEG (libjpeg) ----
struct JpegSpec {
  int width = 0;
  int height = 0;
  int components = 3;       // 1 grey, 3 RGB, 4 CMYK
  int colourSpace = 0;      // J_COLOR_SPACE of the samples given (JCS_GRAYSCALE, JCS_RGB, JCS_CMYK)
  int storedSpace = -1;     // J_COLOR_SPACE in the file (JCS_YCCK...); -1: libjpeg's default
  bool adobeMarker = true;  // only for CMYK and YCCK
  bool progressive = false;
  int quality = 100;
  Bytes samples{};  // width * components bytes per row, rows top first
};
Bytes WriteJpeg(const JpegSpec& spec);

// An RGB JPEG of flat colour blocks (4:4:4, quality 100): block (bx, by) of size block x block
// takes colours[(by * columns + bx) % colours.size()], colours as 0xRRGGBB.
Bytes WriteBlockJpeg(int width, int height, int block, const std::vector<std::uint32_t>& colours,
                     bool progressive = false);

// ---- BMP ----
struct BmpSpec {
  int headerSize = 40;  // 12 (core), 16..64 (OS/2 2.x), 40, 52, 56, 108, 124
  int width = 0;
  int height = 0;  // negative: top-down rows
  int bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
  std::vector<std::uint32_t> palette{};  // 0xRRGGBB; written as 3-byte entries for core headers
  std::array<std::uint32_t, 4> masks{};  // R, G, B, A
  bool masksAfterHeader = false;         // 40-byte header with bit fields: masks follow it
  Bytes pixels{};                        // exactly as stored (see PadRows)
  bool fileHeader = true;                // false: just the bitmap, as inside an icon
  std::int64_t pixelOffset = -1;         // -1: right after the colour table
};
Bytes WriteBmp(const BmpSpec& spec);

// Pads each row to a multiple of four bytes and joins them in the order given.
Bytes PadRows(const std::vector<Bytes>& rows);

// ---- GIF ----
struct GifSpec {
  std::string version = "GIF89a";
  int screenWidth = 0;
  int screenHeight = 0;
  std::vector<std::uint32_t> globalPalette{};  // 0xRRGGBB; size a power of two (2..256)
  std::vector<std::uint32_t> localPalette{};
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool interlaced = false;
  int transparent = -1;                 // a graphic control block with this index when >= 0
  Bytes blocksBefore{};                 // raw extension blocks put before the image
  int minCodeSize = 0;                  // 0: from the palette size (at least 2)
  std::vector<std::uint8_t> indices{};  // width * height, rows top first (reordered if interlaced)
  bool trailer = true;
};
Bytes WriteGif(const GifSpec& spec);

// GIF LZW with a growing dictionary, clear code at the start and whenever the table fills.
Bytes LzwEncode(const std::vector<std::uint8_t>& indices, int minCodeSize);
// Cuts LZW data into sub-blocks of at most 255 bytes, with the terminating empty block.
Bytes SubBlocks(std::string_view data);

// ---- icon and cursor ----
struct IconEntry {
  int width = 0;  // as written in the directory (256 is written as 0)
  int height = 0;
  int bitCount = 32;
  Bytes data{};  // a PNG file, or a bitmap from IconBitmap
};
Bytes WriteIcon(int type, const std::vector<IconEntry>& entries);

// The bitmap of an icon entry: a 40-byte header with double height, the colour rows and the
// AND mask (rows top first, `mask` 1 = transparent; empty: all 0). Pixels as 0xAARRGGBB for 32
// bits, or palette indices for 1, 4 and 8 bits.
Bytes IconBitmap(int width, int height, int bits, const std::vector<std::uint32_t>& pixels,
                 const std::vector<std::uint32_t>& palette, const std::vector<std::uint8_t>& mask);

// ---- PCX ----
struct PcxSpec {
  int version = 5;
  int bits = 8;
  int planes = 1;
  int width = 0;
  int height = 0;
  int bytesPerLine = 0;  // 0: the smallest even count
  std::array<std::uint8_t, 48> headerPalette{};
  std::vector<std::uint32_t> palette{};  // 256 entries 0xRRGGBB appended after the data when given
  // Per row: the planes one after the other, bytesPerLine bytes each (padded here).
  std::vector<Bytes> rows{};
  Bytes rawData{};  // run-length data written as it is, before the rows
};
Bytes WritePcx(const PcxSpec& spec);
// The run-length coding of one PCX scan line.
Bytes PcxEncode(std::string_view line);

// ---- fuzz seeds ----
// In the native build, keeps `bytes` as a seed of the fuzz target `target` (for example
// "fuzz_png_decode") under build/<preset>/fuzz-seeds/, where scripts/fuzz picks it up; every
// picture also becomes a seed of fuzz_preview. Nothing is written in the Windows build.
void SaveFuzzSeed(std::string_view target, std::string_view name, std::string_view bytes);

}  // namespace lumenta::image::testing
