// The BMP file image the clipboard picture becomes: header, colour table and offset rules.
#include "image/bmp_file_image.h"

#include <gtest/gtest.h>

#include "image/bmp_decoder.h"
#include "tests/support/picture_fixtures.h"

namespace lumenta::image {
namespace {

using testing::Bytes;

Bytes Le(std::uint32_t v, int bytes) {
  Bytes out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * i));
  return out;
}

// The expected file written out field by field.
Bytes Expected(const DibHeader& h, std::uint32_t entries, const Bytes& table, const Bytes& rows) {
  const std::uint32_t offset = 54 + 4 * entries;
  return "BM" + Le(offset + static_cast<std::uint32_t>(rows.size()), 4) + Le(0, 2) + Le(0, 2) +
         Le(offset, 4) + Le(40, 4) + Le(h.width, 4) + Le(h.height, 4) + Le(1, 2) +
         Le(h.bitCount, 2) + Le(h.compression, 4) + Le(h.sizeImage, 4) + Le(h.xPelsPerMeter, 4) +
         Le(h.yPelsPerMeter, 4) + Le(h.coloursUsed, 4) + Le(h.coloursImportant, 4) +
         table.substr(0, 4 * entries) + rows;
}

TEST(BmpFileImage, CarriesTheColourTableTheDepthCallsFor) {
  struct Case {
    const char* name;
    std::uint16_t bits;
    std::uint32_t coloursUsed;
    std::uint32_t entries;
  } cases[] = {
      {"1 bit: 2 entries", 1, 0, 2},
      {"4 bits: 16 entries", 4, 0, 16},
      {"8 bits: 256 entries", 8, 0, 256},
      {"8 bits: 256 entries even when fewer are used", 8, 20, 256},
      {"16 bits: none", 16, 0, 0},
      {"24 bits: none", 24, 0, 0},
      {"32 bits: none", 32, 0, 0},
      {"24 bits naming a colour count: that many", 24, 3, 3},
  };
  Bytes table;
  for (int i = 0; i < 256; ++i) table += Bytes{char(i), char(255 - i), char(i / 2), 0};
  for (const auto& c : cases) {
    DibHeader h{.width = 3, .height = 2, .bitCount = c.bits, .coloursUsed = c.coloursUsed};
    h.sizeImage = static_cast<std::uint32_t>(DibPixelBytes(h));
    const Bytes rows(h.sizeImage, '\x5A');
    EXPECT_EQ(ColourTableEntries(h), c.entries) << c.name;
    const auto file = MakeBmpFileImage(h, table, rows);
    ASSERT_TRUE(file) << c.name;
    EXPECT_EQ(*file, Expected(h, c.entries, table, rows)) << c.name;
  }
}

TEST(BmpFileImage, RowSizesArePaddedToFourBytes) {
  EXPECT_EQ(DibPixelBytes({.width = 3, .height = 2, .bitCount = 24}), 24u);
  EXPECT_EQ(DibPixelBytes({.width = 3, .height = -2, .bitCount = 24}), 24u);
  EXPECT_EQ(DibPixelBytes({.width = 33, .height = 1, .bitCount = 1}), 8u);
  EXPECT_EQ(DibPixelBytes({.width = 5, .height = 3, .bitCount = 8}), 24u);
  EXPECT_EQ(DibPixelBytes({.width = 5, .height = 3, .bitCount = 32}), 60u);
}

TEST(BmpFileImage, IsAFileThePreviewReadsBack) {
  DibHeader h{.width = 2, .height = 2, .bitCount = 8};
  Bytes table(256 * 4, '\0');
  table.replace(4, 4, Bytes("\x00\x00\xFF\x00", 4));        // entry 1: red
  table.replace(8, 4, Bytes("\xFF\x00\x00\x00", 4));        // entry 2: blue
  const Bytes rows("\x01\x02\x00\x00\x02\x01\x00\x00", 8);  // bottom row first
  const auto file = MakeBmpFileImage(h, table, rows);
  ASSERT_TRUE(file);
  EXPECT_EQ(testing::Describe(DecodeBmp(file->view())),
            testing::Describe(2, 2, {0xFF0000FF, 0xFFFF0000, 0xFFFF0000, 0xFF0000FF}));
}

TEST(BmpFileImage, RefusesATableShorterThanTheDepthNeeds) {
  const DibHeader h{.width = 1, .height = 1, .bitCount = 8};
  EXPECT_FALSE(MakeBmpFileImage(h, Bytes(255 * 4, '\0'), Bytes(4, '\0')));
}

}  // namespace
}  // namespace lumenta::image
