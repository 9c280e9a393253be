// Icon and cursor files: the largest image is shown, with its AND mask or its alpha.
#include "image/icon_decoder.h"

#include <gtest/gtest.h>
#include <png.h>

#include "tests/support/picture_fixtures.h"

namespace lumenta::image {
namespace {

using testing::Bytes;
using testing::Describe;
using testing::IconBitmap;
using testing::IconEntry;
using testing::WriteIcon;

constexpr std::uint32_t T = 0;

// A square 32-bit entry of one colour (0xAARRGGBB).
IconEntry Flat32(int size, std::uint32_t argb) {
  return {size, size, 32,
          IconBitmap(size, size, 32, std::vector<std::uint32_t>(size * size, argb), {}, {})};
}

// A square 8-bit entry of one palette colour (0xRRGGBB).
IconEntry Flat8(int size, std::uint32_t rgb) {
  return {size, size, 8,
          IconBitmap(size, size, 8, std::vector<std::uint32_t>(size * size, 0), {rgb}, {})};
}

IconEntry PngEntry(int size, std::uint8_t red) {
  testing::PngSpec spec{
      .width = size, .height = size, .colorType = PNG_COLOR_TYPE_RGB, .bitDepth = 8};
  Bytes row;
  for (int x = 0; x < size; ++x) row += Bytes{static_cast<char>(red), 0, 0};
  spec.rows.assign(size, row);
  return {size, size, 32, testing::WritePng(spec)};
}

TEST(IconDecoder, ShowsTheLargestImageWithTheMostColours) {
  const Bytes file = WriteIcon(1, {Flat32(16, 0xFF010101), Flat8(32, 0x020202),
                                   Flat32(32, 0x80112233), Flat8(24, 0x030303)});
  testing::SaveFuzzSeed("fuzz_icon_decode", "four-entries.ico", file);
  const Image image = DecodeIcon(file);
  ASSERT_EQ(image.width(), 32);
  ASSERT_EQ(image.height(), 32);
  EXPECT_EQ(image.Pixel(0, 0), 0x80112233u);
  EXPECT_EQ(image.Pixel(31, 31), 0x80112233u);
}

TEST(IconDecoder, ReadsPngEntriesAndTrustsTheirOwnSizeOverTheDirectory) {
  IconEntry png = PngEntry(64, 0x7F);
  png.width = png.height = 16;  // the directory understates it
  const Bytes file = WriteIcon(1, {Flat32(32, 0xFF000000), png});
  testing::SaveFuzzSeed("fuzz_icon_decode", "png-entry.ico", file);
  const Image image = DecodeIcon(file);
  ASSERT_EQ(image.width(), 64);
  EXPECT_EQ(image.Pixel(10, 10), 0xFF7F0000u);
}

struct MaskCase {
  const char* name;
  int bits;
  std::vector<std::uint32_t> pixels;  // 2 x 2, indices or 0xAARRGGBB
  std::vector<std::uint8_t> mask;
  std::vector<std::uint32_t> expected;
};

TEST(IconDecoder, TheAndMaskCutsOutPixelsUnlessThePictureHasAlpha) {
  const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  const MaskCase cases[] = {
      {"8 bits", 8, {1, 2, 3, 0}, {1, 0, 0, 1}, {T, 0xFF00FF00, 0xFF0000FF, T}},
      {"4 bits", 4, {1, 2, 3, 0}, {0, 1, 0, 0}, {0xFFFF0000, T, 0xFF0000FF, 0xFF000000}},
      {"1 bit", 1, {1, 0, 0, 1}, {0, 0, 1, 0}, {0xFFFF0000, 0xFF000000, T, 0xFFFF0000}},
      {"32 bits without alpha",
       32,
       {0x00123456, 0x00123456, 0x00654321, 0x00654321},
       {1, 0, 0, 0},
       {T, 0xFF123456, 0xFF654321, 0xFF654321}},
      {"32 bits with alpha ignore the mask",
       32,
       {0x80123456, 0xFF123456, 0x00654321, 0x40654321},
       {1, 1, 1, 1},
       {0x80123456, 0xFF123456, 0x00654321, 0x40654321}},
  };
  for (const auto& c : cases) {
    const Bytes file =
        WriteIcon(1, {{2, 2, c.bits,
                       IconBitmap(2, 2, c.bits, c.pixels,
                                  c.bits <= 8 ? palette : std::vector<std::uint32_t>{}, c.mask)}});
    testing::SaveFuzzSeed("fuzz_icon_decode", c.name, file);
    EXPECT_EQ(Describe(DecodeIcon(file)), Describe(2, 2, c.expected)) << c.name;
  }
}

TEST(IconDecoder, ReadsCursorsLikeIcons) {
  const Bytes file = WriteIcon(2, {Flat8(32, 0x0000FF), Flat32(16, 0xFFFFFFFF)});
  testing::SaveFuzzSeed("fuzz_icon_decode", "cursor.cur", file);
  const Image image = DecodeIcon(file);
  ASSERT_EQ(image.width(), 32);
  EXPECT_EQ(image.Pixel(5, 5), 0xFF0000FFu);
}

TEST(IconDecoder, FallsBackToTheNextImageWhenTheBestOneIsDamaged) {
  IconEntry broken = Flat32(48, 0xFF000000);
  broken.data.resize(40);  // a header and no pixels
  const Bytes file = WriteIcon(1, {broken, Flat8(16, 0x00FF00)});
  const Image image = DecodeIcon(file);
  ASSERT_EQ(image.width(), 16);
  EXPECT_EQ(image.Pixel(0, 0), 0xFF00FF00u);
}

TEST(IconDecoder, DirectoriesWithoutAUsableImageGiveNoPicture) {
  IconEntry broken = Flat32(16, 0xFF000000);
  broken.data = "not a bitmap header";
  Bytes outside = WriteIcon(1, {Flat32(16, 0xFF000000)});
  outside[6 + 15] = '\x7F';  // the entry's offset points far past the end
  Bytes reserved = WriteIcon(1, {Flat32(16, 0xFF000000)});
  reserved[0] = 1;
  Bytes noEntries = WriteIcon(1, {});
  const Bytes cases[] = {
      WriteIcon(1, {broken}),
      outside,
      reserved,
      noEntries,
      WriteIcon(3, {Flat32(16, 0xFF000000)}),
      WriteIcon(1, {Flat32(16, 0xFF000000)}).substr(0, 20),
  };
  int i = 0;
  for (const auto& bytes : cases) {
    EXPECT_TRUE(DecodeIcon(bytes).empty()) << "case " << i++;
  }
}

}  // namespace
}  // namespace lumenta::image
