// PNG pictures decode to straight-alpha BGRA whatever their colour type and depth.
#include "image/png_decoder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <random>

#include "tests/support/picture_fixtures.h"

namespace lumenta::image {
namespace {

using testing::Bytes;
using testing::Describe;
using testing::PngSpec;
using testing::WritePng;

Bytes B(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

struct PngCase {
  const char* name;
  PngSpec spec;
  std::vector<std::uint32_t> expected;  // 0xAARRGGBB, rows top first
};

std::vector<PngCase> Cases() {
  std::vector<PngCase> cases;
  {
    PngSpec s{.width = 2, .height = 2, .colorType = PNG_COLOR_TYPE_RGB, .bitDepth = 8};
    s.rows = {B({255, 0, 0, 0, 255, 0}), B({0, 0, 255, 10, 20, 30})};
    cases.push_back({"RGB, 8 bits", s, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF0A141E}});
  }
  {
    PngSpec s{.width = 2, .height = 1, .colorType = PNG_COLOR_TYPE_RGBA, .bitDepth = 8};
    s.rows = {B({200, 100, 50, 128, 1, 2, 3, 0})};
    cases.push_back({"RGBA keeps straight alpha", s, {0x80C86432, 0x00010203}});
  }
  {
    PngSpec s{.width = 3, .height = 1, .colorType = PNG_COLOR_TYPE_PALETTE, .bitDepth = 4};
    s.palette = {{{10, 20, 30}}, {{40, 50, 60}}, {{70, 80, 90}}};
    s.paletteAlpha = {255, 0};  // entry 2 has no alpha entry: opaque
    s.rows = {B({0x01, 0x20})};
    cases.push_back({"4-bit palette with tRNS", s, {0xFF0A141E, 0x0028323C, 0xFF46505A}});
  }
  {
    PngSpec s{.width = 8, .height = 1, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1};
    s.rows = {B({0xA5})};  // 1010 0101
    cases.push_back({"1-bit grey",
                     s,
                     {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF,
                      0xFF000000, 0xFFFFFFFF}});
  }
  {
    PngSpec s{.width = 4, .height = 1, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 2};
    s.rows = {B({0x1B})};  // levels 0, 1, 2, 3
    cases.push_back({"2-bit grey", s, {0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF}});
  }
  {
    PngSpec s{.width = 3, .height = 1, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 16};
    s.rows = {B({0xFF, 0xFF, 0x80, 0x80, 0x12, 0x34})};
    cases.push_back({"16-bit grey is scaled to 8 bits", s, {0xFFFFFFFF, 0xFF808080, 0xFF121212}});
  }
  {
    PngSpec s{.width = 2, .height = 1, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 8};
    s.hasTransparentColour = true;
    s.transparentGrey = 7;
    s.rows = {B({7, 8})};
    cases.push_back({"grey with a transparent level", s, {0x00070707, 0xFF080808}});
  }
  {
    PngSpec s{.width = 2, .height = 1, .colorType = PNG_COLOR_TYPE_GRAY_ALPHA, .bitDepth = 8};
    s.rows = {B({100, 50, 200, 255})};
    cases.push_back({"grey with alpha", s, {0x32646464, 0xFFC8C8C8}});
  }
  {
    PngSpec s{.width = 2, .height = 1, .colorType = PNG_COLOR_TYPE_RGB, .bitDepth = 16};
    s.hasTransparentColour = true;
    s.transparentRgb = {0x1000, 0x2000, 0x3000};
    s.rows = {B({0x10, 0x00, 0x20, 0x00, 0x30, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x80})};
    cases.push_back({"16-bit RGB with a transparent colour", s, {0x00102030, 0xFFFF0080}});
  }
  {
    PngSpec s{.width = 1, .height = 1, .colorType = PNG_COLOR_TYPE_RGBA, .bitDepth = 16};
    s.rows = {B({0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x80, 0x80})};
    cases.push_back({"16-bit RGBA", s, {0x80FF0000}});
  }
  return cases;
}

TEST(PngDecoder, GivesTheColoursOfEveryColourTypeAndDepth) {
  for (const auto& c : Cases()) {
    const Bytes file = WritePng(c.spec);
    testing::SaveFuzzSeed("fuzz_png_decode", c.name, file);
    const Image image = DecodePng(file);
    EXPECT_EQ(Describe(image), Describe(c.spec.width, c.spec.height, c.expected)) << c.name;
  }
}

// A 9 x 9 picture of distinct colours, stored as RGB rows.
PngSpec NineByNine(bool interlaced) {
  PngSpec s{.width = 9,
            .height = 9,
            .colorType = PNG_COLOR_TYPE_RGB,
            .bitDepth = 8,
            .interlaced = interlaced};
  for (int y = 0; y < 9; ++y) {
    Bytes row;
    for (int x = 0; x < 9; ++x) row += B({x * 28, y * 28, (x * 9 + y) & 0xFF});
    s.rows.push_back(row);
  }
  return s;
}

TEST(PngDecoder, InterlacedPicturesComeOutLikeTheirPlainTwins) {
  const Bytes plain = WritePng(NineByNine(false));
  const Bytes interlaced = WritePng(NineByNine(true));
  testing::SaveFuzzSeed("fuzz_png_decode", "interlaced", interlaced);
  ASSERT_NE(plain, interlaced);
  const Image a = DecodePng(plain);
  const Image b = DecodePng(interlaced);
  ASSERT_FALSE(a.empty());
  EXPECT_EQ(a.Pixel(4, 7), 0xFF70C42Bu);
  EXPECT_EQ(Describe(a), Describe(b));
}

// A 64 x 64 picture of random RGB noise (does not compress), row y starting with the value y.
PngSpec Noise() {
  PngSpec s{.width = 64, .height = 64, .colorType = PNG_COLOR_TYPE_RGB, .bitDepth = 8};
  std::mt19937 rng(7);
  for (int y = 0; y < 64; ++y) {
    Bytes row;
    for (int i = 0; i < 64 * 3; ++i) row += static_cast<char>(rng());
    s.rows.push_back(row);
  }
  return s;
}

TEST(PngDecoder, AFileThatBreaksOffKeepsTheRowsThatDecodedCompletely) {
  const Bytes whole = WritePng(Noise());
  const Image full = DecodePng(whole);
  ASSERT_EQ(full.height(), 64);
  const Image half = DecodePng(whole.substr(0, whole.size() / 2));
  ASSERT_EQ(half.width(), 64);
  ASSERT_EQ(half.height(), 64);
  int complete = 0;
  while (complete < 64 &&
         std::equal(half.Row(complete), half.Row(complete) + half.stride(), full.Row(complete))) {
    ++complete;
  }
  EXPECT_GT(complete, 10);
  EXPECT_LT(complete, 54);
  for (int y = complete; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) ASSERT_EQ(half.Pixel(x, y), 0u) << x << "," << y;
  }
}

TEST(PngDecoder, InterlacedDataThatBreaksOffBeforeTheLastPassShowsNothing) {
  PngSpec s = Noise();
  s.interlaced = true;
  const Bytes whole = WritePng(s);
  EXPECT_TRUE(DecodePng(whole.substr(0, whole.size() / 3)).empty());
}

TEST(PngDecoder, CorruptOrForeignDataGivesNoPicture) {
  const Bytes good = WritePng(NineByNine(false));
  Bytes badHeaderCrc = good;
  badHeaderCrc[29] ^= 0x01;  // last byte of the IHDR checksum
  Bytes badData = good;
  for (std::size_t i = 41; i < badData.size() - 20; ++i) badData[i] = '\x55';
  const Bytes cases[] = {
      "",
      good.substr(0, 8),
      good.substr(0, 40),
      badHeaderCrc,
      badData,
      "\x89PNG\r\n\x1A\n this is not a chunk",
      "GIF89a not a PNG at all",
  };
  for (const auto& bytes : cases) {
    EXPECT_TRUE(DecodePng(bytes).empty()) << bytes.size() << " bytes";
  }
}

// A grey 1-bit picture of the given size (tiny on disk whatever its size).
Bytes BlankPng(int width, int height) {
  PngSpec s{.width = width, .height = height, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1};
  s.rows.assign(height, Bytes((width + 7) / 8, '\xFF'));
  return WritePng(s);
}

TEST(PngDecoder, PicturesBeyondTheSizeLimitsGiveNoPicture) {
  EXPECT_EQ(DecodePng(BlankPng(16384, 1)).width(), 16384);
  EXPECT_TRUE(DecodePng(BlankPng(16385, 1)).empty());
  EXPECT_TRUE(DecodePng(BlankPng(1, 16385)).empty());
  EXPECT_TRUE(DecodePng(BlankPng(8001, 8000)).empty());
}

}  // namespace
}  // namespace lumenta::image
