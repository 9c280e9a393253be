#include "image/bmp_encoding.h"

#include <gtest/gtest.h>

#include "tests/support/bmp_test_reader.h"

namespace lumenta::image {
namespace {

using bmpread::ReadBmp;
using bmpread::ReadLe;

TEST(BmpRows, ArePaddedToWholeWords) {
  const struct {
    int width, bits;
    std::uint64_t stride;
  } cases[] = {{1, 24, 4},  {2, 24, 8}, {3, 24, 12}, {4, 24, 12}, {5, 24, 16}, {1, 32, 4},
               {7, 32, 28}, {1, 16, 4}, {3, 16, 8},  {1, 1, 4},   {33, 1, 8},  {-3, 24, 12}};
  for (const auto& c : cases) {
    EXPECT_EQ(BmpRowStride(c.width, static_cast<std::uint16_t>(c.bits)), c.stride)
        << c.width << " x " << c.bits;
  }
}

TEST(BmpPixelData, IsNeverSmallerThanTheRowsNeed) {
  BmpFormat format{.width = 3, .height = 2, .bitCount = 24, .imageSize = 0};
  EXPECT_EQ(BmpPixelDataSize(format), 24u);
  format.imageSize = 24;
  EXPECT_EQ(BmpPixelDataSize(format), 24u);
  format.imageSize = 10;
  EXPECT_EQ(BmpPixelDataSize(format), 24u);
  format.imageSize = 32;
  EXPECT_EQ(BmpPixelDataSize(format), 32u);
  format.height = -2;  // top-down rows count the same
  format.imageSize = 0;
  EXPECT_EQ(BmpPixelDataSize(format), 24u);
}

TEST(BmpFile, LaysOutTheFiftyEightByteHeaderBeforeTheRows) {
  const BmpFormat format{.width = 2,
                         .height = 2,
                         .planes = 1,
                         .bitCount = 32,
                         .compression = 3,  // what a platform may report; the file says 0
                         .imageSize = 16,
                         .xPelsPerMeter = 3780,
                         .yPelsPerMeter = 3779,
                         .coloursUsed = 5,
                         .importantColours = 6,
                         .colourEntry = 0};
  const std::string pixels = "0123456789abcdef";
  const ByteBuffer file = AssembleBmpFile(format, pixels);
  ASSERT_EQ(file.size(), 74u);
  const struct {
    std::size_t offset;
    int size;
    std::uint32_t value;
  } fields[] = {{0, 2, 19778}, {2, 4, 74},    {6, 2, 0},  {8, 2, 0},   {10, 4, 58}, {14, 4, 40},
                {18, 4, 2},    {22, 4, 2},    {26, 2, 1}, {28, 2, 32}, {30, 4, 0},  {34, 4, 16},
                {38, 4, 3780}, {42, 4, 3779}, {46, 4, 5}, {50, 4, 6},  {54, 4, 0}};
  for (const auto& f : fields) {
    EXPECT_EQ(ReadLe(file.view(), f.offset, f.size), f.value) << "offset " << f.offset;
  }
  EXPECT_EQ(file.view().substr(58), pixels);
}

TEST(BmpFile, OfOnePixelHoldsOnePaddedRow) {
  const BmpFormat format{.width = 1, .height = 1, .bitCount = 24, .imageSize = 4};
  const ByteBuffer file = AssembleBmpFile(format, std::string("\x10\x20\x30\x00", 4));
  ASSERT_EQ(file.size(), 62u);
  const auto read = ReadBmp(file.view());
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->fileSize, 62u);
  EXPECT_EQ(read->format.imageSize, 4u);
  EXPECT_EQ(read->At(0, 0), (bmpread::Rgb{0x30, 0x20, 0x10}));
}

TEST(BmpFile, ImageAndFileSizesComeFromThePixelsGiven) {
  // The platform reported no size; the rows were fetched into a buffer of the needed size.
  const BmpFormat format{.width = 3, .height = 2, .bitCount = 24, .imageSize = 0};
  const ByteBuffer file = AssembleBmpFile(format, std::string(BmpPixelDataSize(format), '\x7F'));
  EXPECT_EQ(ReadLe(file.view(), 34, 4), 24u);
  EXPECT_EQ(ReadLe(file.view(), 2, 4), 82u);
}

}  // namespace
}  // namespace lumenta::image
