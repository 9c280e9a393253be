// The cursor files compiled into the program, and reading a cursor file from memory.
#include "capture/window/cursor_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <tuple>

#include "capture/window/cursor_assets.h"

namespace lumenta::capture {
namespace {

struct Pixel {
  std::uint8_t r, g, b;
  bool transparent;
};

// Pixel (x, y), counted from the top-left, of a 32 x 32, 24-bit cursor file.
Pixel PixelAt(std::string_view file, int x, int y) {
  const size_t bits = 22 + 40;
  const int row = 31 - y;  // rows are stored bottom-up
  const size_t colour = bits + size_t(row) * 96 + size_t(x) * 3;
  const size_t mask = bits + 32 * 96 + size_t(row) * 4 + size_t(x / 8);
  return {std::uint8_t(file[colour + 2]), std::uint8_t(file[colour + 1]),
          std::uint8_t(file[colour]), ((std::uint8_t(file[mask]) >> (7 - x % 8)) & 1) != 0};
}

TEST(CrossCursor, IsA3262ByteCursorWithItsHotspotInTheMiddle) {
  const std::string_view file = CrossCursorFile();
  ASSERT_EQ(file.size(), 3262u);
  const auto cursor = ReadCursorFile(file);
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->hotspot, (Point{15, 15}));
  EXPECT_EQ(cursor->size, (Size{32, 32}));
  EXPECT_EQ(std::uint8_t(file[22 + 14]), 24) << "bits per pixel";
  EXPECT_EQ(cursor->resourceBits.size(), 4u + 3240u);
  EXPECT_EQ(cursor->resourceBits.view().substr(0, 4), std::string_view("\x0F\x00\x0F\x00", 4));
}

TEST(CrossCursor, ShowsTheHollowSquareAndFourArmsAndNothingElse) {
  const std::string_view file = CrossCursorFile();
  int opaque = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const bool square =
          x >= 13 && x <= 17 && y >= 13 && y <= 17 && (x == 13 || x == 17 || y == 13 || y == 17);
      const auto arm = [](int along) {
        return (along >= 7 && along <= 12) || (along >= 18 && along <= 23);
      };
      const bool inked = square || (y == 15 && arm(x)) || (x == 15 && arm(y));
      const Pixel p = PixelAt(file, x, y);
      EXPECT_EQ(p.transparent, !inked) << x << "," << y;
      if (inked) {
        ++opaque;
        EXPECT_EQ((std::tuple{p.r, p.g, p.b}), (std::tuple{0, 84, 124})) << x << "," << y;
      } else {
        EXPECT_EQ((std::tuple{p.r, p.g, p.b}), (std::tuple{0, 0, 0})) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(opaque, 16 + 4 * 6);
}

TEST(ArrowCursor, HasItsHotspotOnABlackTipAndAColouredFill) {
  const std::string_view file = ArrowCursorFile();
  const auto cursor = ReadCursorFile(file);
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->hotspot, Point{});
  EXPECT_EQ(cursor->size, (Size{32, 32}));
  const Pixel tip = PixelAt(file, 0, 0);
  EXPECT_FALSE(tip.transparent);
  EXPECT_EQ((std::tuple{tip.r, tip.g, tip.b}), (std::tuple{0, 0, 0}));
  EXPECT_TRUE(PixelAt(file, 31, 0).transparent);
  EXPECT_TRUE(PixelAt(file, 0, 31).transparent);
  // Inside the outline the fill takes several distinct colours, none of them black.
  std::set<std::tuple<int, int, int>> fill;
  for (int y = 3; y < 14; ++y) {
    const Pixel p = PixelAt(file, 2, y);
    EXPECT_FALSE(p.transparent);
    fill.insert({p.r, p.g, p.b});
  }
  EXPECT_FALSE(fill.count({0, 0, 0}));
  EXPECT_GE(fill.size(), 4u);
}

TEST(ReadCursorFile, RefusesBytesThatAreNotACursorFile) {
  const std::string good(CrossCursorFile());
  const auto with = [&](size_t at, std::string bytes) {
    std::string b = good;
    b.replace(at, bytes.size(), bytes);
    return b;
  };
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"only the directory", good.substr(0, 6)},
      {"an icon, not a cursor", with(2, std::string("\x01\x00", 2))},
      {"no entries", with(4, std::string("\x00\x00", 2))},
      {"image beyond the end", with(18, std::string("\xFF\x0F\x00\x00", 4))},
      {"image longer than the file", with(14, std::string("\xA9\x0C\x00\x00", 4))},
      {"truncated image", good.substr(0, 1000)},
      {"bitmap header of another size", with(22, std::string("\x0C\x00\x00\x00", 4))},
  };
  for (const auto& c : cases) EXPECT_FALSE(ReadCursorFile(c.bytes)) << c.what;
}

}  // namespace
}  // namespace lumenta::capture
