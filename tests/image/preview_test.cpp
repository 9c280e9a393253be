// The picture box's view of a picture: where it goes and how it is reduced.
#include "image/preview.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>

#include "image/area_average.h"
#include "image/jpeg_decoder.h"
#include "tests/support/picture_fixtures.h"

namespace lumenta::image {
namespace {

using testing::Bytes;
using testing::Describe;

TEST(PreviewGeometry, SmallPicturesAreCentredAndLargeOnesShrinkKeepingTheirShape) {
  struct Case {
    const char* name;
    int width, height, boxWidth, boxHeight;
    Placement expected;
  } cases[] = {
      {"smaller: natural size, centred", 100, 50, 231, 250, {65, 100, 100, 50}},
      {"odd free space: the extra pixel right and below", 100, 51, 231, 250, {65, 99, 100, 51}},
      {"exactly the box", 231, 250, 231, 250, {0, 0, 231, 250}},
      {"wide photograph", 6000, 4000, 231, 250, {0, 48, 231, 154}},
      {"tall strip", 100, 1000, 231, 250, {103, 0, 25, 250}},
      {"twice the box", 462, 500, 231, 250, {0, 0, 231, 250}},
      {"too wide only", 300, 100, 231, 250, {0, 86, 231, 77}},
      {"too tall only", 100, 300, 231, 250, {74, 0, 83, 250}},
      {"the sponsor picture", 1080, 1080, 240, 248, {0, 4, 240, 240}},
      {"a line keeps one pixel", 10000, 1, 231, 250, {0, 124, 231, 1}},
      {"no box", 100, 100, 0, 250, {0, 0, 0, 0}},
      {"no picture", 0, 100, 231, 250, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const Placement p = FitPicture(c.width, c.height, c.boxWidth, c.boxHeight);
    EXPECT_EQ(p.x, c.expected.x) << c.name;
    EXPECT_EQ(p.y, c.expected.y) << c.name;
    EXPECT_EQ(p.width, c.expected.width) << c.name;
    EXPECT_EQ(p.height, c.expected.height) << c.name;
  }
}

Bytes FlatPng(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b,
              std::uint8_t a) {
  testing::PngSpec spec{
      .width = width, .height = height, .colorType = PNG_COLOR_TYPE_RGBA, .bitDepth = 8};
  Bytes row;
  for (int x = 0; x < width; ++x) row += Bytes{char(r), char(g), char(b), char(a)};
  spec.rows.assign(height, row);
  return testing::WritePng(spec);
}

TEST(Preview, ShowsASmallPictureAtItsNaturalSizeInTheCentre) {
  const Preview p = MakePreview(FlatPng(3, 2, 0xFF, 0x80, 0x00, 0x80), 231, 250);
  EXPECT_EQ(p.x, 114);
  EXPECT_EQ(p.y, 124);
  // Premultiplied for drawing: half-transparent orange.
  EXPECT_EQ(Describe(p.pixels), Describe(3, 2, std::vector<std::uint32_t>(6, 0x80804000)));
}

TEST(Preview, ShrinksALargePictureToFitTheBox) {
  const Preview p = MakePreview(FlatPng(500, 1000, 0x10, 0x20, 0x30, 0xFF), 231, 250);
  EXPECT_EQ(p.x, 53);
  EXPECT_EQ(p.y, 0);
  ASSERT_EQ(p.pixels.width(), 125);
  ASSERT_EQ(p.pixels.height(), 250);
  EXPECT_EQ(p.pixels.Pixel(0, 0), 0xFF102030u);
  EXPECT_EQ(p.pixels.Pixel(124, 249), 0xFF102030u);
}

// Distance between two pictures of one size: the mean channel difference.
double MeanDifference(const Image& a, const Image& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      for (int shift = 0; shift < 32; shift += 8) {
        const int d = static_cast<int>((a.Pixel(x, y) >> shift) & 0xFF) -
                      static_cast<int>((b.Pixel(x, y) >> shift) & 0xFF);
        sum += std::abs(d);
      }
    }
  }
  return sum / (4.0 * a.width() * a.height());
}

TEST(Preview, ALargeJpegIsDctScaledAndLooksLikeTheFullDecodeShrunk) {
  // 2000 x 1000 of 250-pixel blocks in four colours.
  const Bytes file =
      testing::WriteBlockJpeg(2000, 1000, 250, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00});
  testing::SaveFuzzSeed("fuzz_jpeg_decode", "large-blocks.jpg", file);
  const Preview p = MakePreview(file, 231, 250);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 67);
  ASSERT_EQ(p.pixels.width(), 231);
  ASSERT_EQ(p.pixels.height(), 116);
  const Image reference = ScaleAreaAverage(DecodeJpeg(file), 231, 116);
  // Only the pixels along the block edges differ a little.
  EXPECT_LT(MeanDifference(p.pixels, reference), 1.0);
  // Inside the first block (red) and the second (green).
  EXPECT_EQ(p.pixels.Pixel(10, 10) & 0xFFF0F0F0, 0xFFF00000u);
  EXPECT_EQ(p.pixels.Pixel(40, 10) & 0xFFF0F0F0, 0xFF00F000u);
}

TEST(Preview, ASmallJpegIsShownAtItsNaturalSize) {
  const Bytes file = testing::WriteBlockJpeg(64, 32, 32, {0x0000FF});
  const Preview p = MakePreview(file, 231, 250);
  EXPECT_EQ(p.x, 83);
  EXPECT_EQ(p.y, 109);
  EXPECT_EQ(p.pixels.width(), 64);
  EXPECT_EQ(p.pixels.height(), 32);
}

TEST(Preview, BytesThatAreNoPictureShowNothing) {
  const Bytes png = FlatPng(4, 4, 1, 2, 3, 255);
  const Bytes cases[] = {"", "Hello, plain text file.\r\n", png.substr(0, 7),
                         Bytes("\xFF\xD8\xFF\xE0 broken", 12), png.substr(0, 30)};
  for (const auto& bytes : cases) {
    EXPECT_TRUE(MakePreview(bytes, 231, 250).pixels.empty()) << bytes.size() << " bytes";
  }
  EXPECT_TRUE(MakePreview(png, 0, 0).pixels.empty());
}

}  // namespace
}  // namespace lumenta::image
