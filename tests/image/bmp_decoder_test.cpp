// BMP files: every header version, depth and compression the preview reads.
#include "image/bmp_decoder.h"

#include <gtest/gtest.h>
#include <png.h>

#include "tests/support/picture_fixtures.h"

namespace lumenta::image {
namespace {

using testing::BmpSpec;
using testing::Bytes;
using testing::Describe;
using testing::PadRows;
using testing::WriteBmp;

Bytes B(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

constexpr std::uint32_t R = 0xFFFF0000, G = 0xFF00FF00, U = 0xFF0000FF, K = 0xFF000000,
                        W = 0xFFFFFFFF, T = 0;
const std::vector<std::uint32_t> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

struct BmpCase {
  const char* name;
  BmpSpec spec;
  std::vector<std::uint32_t> expected;  // rows top first
};

std::vector<BmpCase> Cases() {
  std::vector<BmpCase> cases;
  // 24 bits, bottom-up: the first stored row is the bottom one.
  BmpSpec rgb{.width = 2, .height = 2, .bits = 24};
  rgb.pixels = PadRows({B({0, 0, 255, 0, 255, 0}), B({255, 0, 0, 10, 20, 30})});
  cases.push_back({"24 bits, bottom-up", rgb, {U, 0xFF1E140A, R, G}});
  BmpSpec topDown = rgb;
  topDown.height = -2;
  cases.push_back({"24 bits, top-down", topDown, {R, G, U, 0xFF1E140A}});
  BmpSpec v4 = rgb;
  v4.headerSize = 108;
  cases.push_back({"24 bits, version 4 header", v4, {U, 0xFF1E140A, R, G}});
  BmpSpec v5 = rgb;
  v5.headerSize = 124;
  cases.push_back({"24 bits, version 5 header", v5, {U, 0xFF1E140A, R, G}});

  BmpSpec noAlpha{.width = 2, .height = 1, .bits = 32};
  noAlpha.pixels = B({1, 2, 3, 0, 4, 5, 6, 0});
  cases.push_back(
      {"32 bits with all alpha bytes zero are opaque", noAlpha, {0xFF030201, 0xFF060504}});
  BmpSpec alpha = noAlpha;
  alpha.pixels = B({1, 2, 3, 0x80, 4, 5, 6, 0});
  cases.push_back({"32 bits with alpha bytes keep them", alpha, {0x80030201, 0x00060504}});

  BmpSpec rgb555{.width = 4, .height = 1, .bits = 16};
  rgb555.pixels = B({0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42});
  cases.push_back({"16 bits, 5-5-5", rgb555, {R, G, U, 0xFF848484}});
  BmpSpec rgb565{.width = 3, .height = 1, .bits = 16, .compression = 3};
  rgb565.masks = {0xF800, 0x07E0, 0x001F, 0};
  rgb565.masksAfterHeader = true;
  rgb565.pixels = PadRows({B({0x00, 0xF8, 0xE0, 0x07, 0x10, 0x00})});
  cases.push_back({"16 bits, 5-6-5 bit fields after the header", rgb565, {R, G, 0xFF000084}});
  BmpSpec noGreen = rgb565;
  noGreen.masks = {0xF800, 0, 0x001F, 0};
  cases.push_back({"bit fields without a green mask", noGreen, {R, K, 0xFF000084}});
  BmpSpec fields32{.headerSize = 124, .width = 2, .height = 1, .bits = 32, .compression = 3};
  fields32.masks = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};
  fields32.pixels = B({0x40, 0x11, 0x22, 0x33, 0xFF, 0x00, 0x00, 0xFF});
  cases.push_back(
      {"32 bits, bit fields with alpha in a version 5 header", fields32, {0x40112233, 0xFF0000FF}});
  BmpSpec alphaFields{.width = 1, .height = 1, .bits = 32, .compression = 6};
  alphaFields.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  alphaFields.masksAfterHeader = true;
  alphaFields.pixels = B({0x33, 0x22, 0x11, 0x7F});
  cases.push_back({"32 bits, alpha bit fields after the header", alphaFields, {0x7F112233}});

  BmpSpec mono{.width = 9, .height = 1, .bits = 1, .palette = {0x000000, 0xFFFFFF}};
  mono.pixels = PadRows({B({0xA5, 0x80})});
  cases.push_back({"1 bit", mono, {W, K, W, K, K, W, K, W, W}});
  BmpSpec four{.width = 3, .height = 2, .bits = 4, .palette = kPalette};
  four.pixels = PadRows({B({0x12, 0x30}), B({0x01, 0x20})});
  cases.push_back({"4 bits, odd width", four, {K, R, G, R, G, U}});
  BmpSpec eight{.width = 3,
                .height = 1,
                .bits = 8,
                .coloursUsed = 3,
                .palette = {0x102030, 0x405060, 0x708090}};
  eight.pixels = PadRows({B({2, 0, 1})});
  cases.push_back({"8 bits, three colours used", eight, {0xFF708090, 0xFF102030, 0xFF405060}});
  BmpSpec outside = eight;
  outside.pixels = PadRows({B({2, 7, 255})});
  cases.push_back({"8 bits, indices past the table are black", outside, {0xFF708090, K, K}});

  BmpSpec core{.headerSize = 12, .width = 2, .height = 1, .bits = 8};
  core.palette.assign(256, 0);
  core.palette[0] = 0x123456;
  core.palette[255] = 0xABCDEF;
  core.pixels = PadRows({B({255, 0})});
  cases.push_back({"OS/2 core header, 3-byte table entries", core, {0xFFABCDEF, 0xFF123456}});
  BmpSpec os2{.headerSize = 64, .width = 2, .height = 1, .bits = 4, .palette = kPalette};
  os2.palette.resize(16, 0);
  os2.pixels = PadRows({B({0x31})});
  cases.push_back({"OS/2 2.x header", os2, {U, R}});

  // RLE8, 4 x 3: a run of two 1s; a move of (1, 1); one 2; end of line; three literal
  // indices 2 3 1; end of bitmap. Pixels the data never reaches stay transparent.
  BmpSpec rle8{.width = 4, .height = 3, .bits = 8, .compression = 1, .palette = kPalette};
  rle8.pixels = B({2, 1, 0, 2, 1, 1, 1, 2, 0, 0, 0, 3, 2, 3, 1, 0, 0, 1});
  cases.push_back({"RLE8 with runs, a move, literals and line ends",
                   rle8,
                   {G, U, R, T, T, T, T, G, R, R, T, T}});
  // RLE4, 7 x 1: a run of three alternating 1 2; three literal indices 3 2 1; end of bitmap.
  BmpSpec rle4{.width = 7, .height = 1, .bits = 4, .compression = 2, .palette = kPalette};
  rle4.pixels = B({3, 0x12, 0, 3, 0x32, 0x10, 0, 1});
  cases.push_back({"RLE4 with a run and literals", rle4, {R, G, R, U, G, R, T}});

  BmpSpec gap = rgb;
  gap.pixelOffset = 14 + 40 + 10;
  cases.push_back({"pixel offset past the headers is honoured", gap, {U, 0xFF1E140A, R, G}});
  BmpSpec zeroOffset = rgb;
  zeroOffset.pixelOffset = 0;
  cases.push_back(
      {"a zero pixel offset means right after the headers", zeroOffset, {U, 0xFF1E140A, R, G}});

  // Compression 5: the pixel data is a PNG file.
  testing::PngSpec png{.width = 2, .height = 1, .colorType = PNG_COLOR_TYPE_RGB, .bitDepth = 8};
  png.rows = {B({1, 2, 3, 4, 5, 6})};
  BmpSpec embedded{.width = 2, .height = 1, .bits = 0, .compression = 5};
  embedded.pixels = testing::WritePng(png);
  cases.push_back({"embedded PNG", embedded, {0xFF010203, 0xFF040506}});
  return cases;
}

TEST(BmpDecoder, ReadsEveryHeaderDepthAndCompression) {
  for (const auto& c : Cases()) {
    const Bytes file = WriteBmp(c.spec);
    testing::SaveFuzzSeed("fuzz_bmp_decode", c.name, file);
    const int height = c.spec.height < 0 ? -c.spec.height : c.spec.height;
    EXPECT_EQ(Describe(DecodeBmp(file)), Describe(c.spec.width, height, c.expected)) << c.name;
  }
}

TEST(BmpDecoder, AFileThatBreaksOffKeepsTheRowsItHolds) {
  // 1 x 4, bottom-up: only the two bottom rows are in the file.
  BmpSpec spec{.width = 1, .height = 4, .bits = 24};
  spec.pixels = PadRows({B({255, 0, 0}), B({0, 255, 0}), B({0, 0, 255}), B({9, 9, 9})});
  const Bytes file = WriteBmp(spec);
  const Image image = DecodeBmp(file.substr(0, file.size() - 8));
  EXPECT_EQ(Describe(image), Describe(1, 4, {T, T, G, U}));
}

TEST(BmpDecoder, UnknownOrInconsistentHeadersGiveNoPicture) {
  const auto file = [](auto change) {
    BmpSpec spec{.width = 2, .height = 2, .bits = 24};
    spec.pixels = PadRows({B({1, 2, 3, 4, 5, 6}), B({1, 2, 3, 4, 5, 6})});
    change(spec);
    return WriteBmp(spec);
  };
  Bytes unknownHeader = file([](BmpSpec&) {});
  unknownHeader[14] = 100;  // header size 100: no such version
  const Bytes cases[] = {
      unknownHeader,
      file([](BmpSpec& s) { s.bits = 3; }),
      file([](BmpSpec& s) { s.width = 0; }),
      file([](BmpSpec& s) { s.height = 0; }),
      file([](BmpSpec& s) { s.compression = 1; }),  // RLE8 needs 8 bits
      file([](BmpSpec& s) { s.compression = 7; }),
      file([](BmpSpec& s) {
        s.compression = 3;
        s.masksAfterHeader = true;
      }),  // 24-bit fields
      file([](BmpSpec& s) {
        s.headerSize = 64;
        s.compression = 3;
      }),  // OS/2 Huffman coding
      file([](BmpSpec& s) { s.pixels.clear(); }),
      file([](BmpSpec& s) {
        s.width = 16385;
        s.height = 1;
        s.pixels.assign(49160, '\0');
      }),
      file([](BmpSpec& s) {
        s.width = 8001;
        s.height = 8000;
      }),
      file([](BmpSpec& s) {
        s.width = 16;
        s.height = -16385;
      }),
      "BM",
      Bytes("BM\0\0\0\0\0\0\0\0\x36\0\0\0", 14),
  };
  int i = 0;
  for (const auto& bytes : cases) {
    EXPECT_TRUE(DecodeBmp(bytes).empty()) << "case " << i;
    ++i;
  }
}

TEST(BmpDecoder, TheWidestAllowedRowDecodes) {
  BmpSpec spec{.width = 16384, .height = 1, .bits = 8, .palette = {0x0000FF}};
  spec.pixels.assign(16384, '\0');
  const Image image = DecodeBmp(WriteBmp(spec));
  ASSERT_EQ(image.width(), 16384);
  EXPECT_EQ(image.Pixel(16383, 0), U);
}

}  // namespace
}  // namespace lumenta::image
