#include "capture/model/font_size_list_model.h"

#include <gtest/gtest.h>

namespace lumenta::capture {
namespace {

TEST(FontSizeList, EntriesShowTheNineTextHeights) {
  const int sizes[] = {0, 8, 9, 10, 11, 12, 14, 16, 18, 20, 0};
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(FontSizeOfEntry(i), sizes[i]) << i;
  EXPECT_EQ(FontSizeOfEntry(kFontSizeDefaultEntry), 12);
}

TEST(FontSizeList, ScrollIsLimitedAndMovesTheWindowByTheTruncatedFactor) {
  EXPECT_EQ(LimitFontListScroll(-5), 0);
  EXPECT_EQ(LimitFontListScroll(0), 0);
  EXPECT_EQ(LimitFontListScroll(25), 25);
  EXPECT_EQ(LimitFontListScroll(26), 25);
  const struct {
    int scroll, row;
  } rows[] = {{0, 0}, {1, 2}, {5, 11}, {10, 23}, {21, 49}, {25, 59}};
  for (const auto& c : rows) EXPECT_EQ(FontListFirstRow(c.scroll), c.row) << c.scroll;
  // At the largest scroll the window's last row is the strip's last row.
  EXPECT_EQ(FontListFirstRow(kFontSizeScrollMax) + 120, 179);
}

TEST(FontSizeList, PicksTheEntryUnderAPointThroughTheScrolledWindow) {
  const struct {
    int rx, ry, scroll, entry;
  } cases[] = {
      {1, 1, 0, 1},     {29, 19, 0, 1},  {0, 10, 0, 0},   {30, 10, 0, 0}, {15, 20, 0, 0},
      {15, 21, 0, 2},   {15, 100, 0, 0}, {15, 101, 0, 6}, {15, -1, 0, 0}, {15, 0, 0, 0},
      {15, 9, 5, 0},    {15, 10, 5, 2},  {15, 1, 25, 0},  {15, 2, 25, 4}, {15, 120, 25, 9},
      {15, 121, 25, 0}, {15, 60, 1, 4},  {15, 57, 1, 3},  {15, 58, 1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FontListEntryAt(c.rx, c.ry, c.scroll), c.entry)
        << c.rx << "," << c.ry << " scrolled " << c.scroll;
  }
}

TEST(FontSizeList, TheThumbFollowsTheScrollAndDragsByTheMouseDistance) {
  const struct {
    int rx, ry, scroll;
    bool onThumb;
  } cases[] = {
      {33, 18, 0, true},   {45, 83, 0, true},    {32, 40, 0, false}, {46, 40, 0, false},
      {40, 17, 0, false},  {40, 84, 0, false},   {40, 43, 25, true}, {40, 42, 25, false},
      {40, 108, 25, true}, {40, 109, 25, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OnFontListThumb(c.rx, c.ry, c.scroll), c.onThumb)
        << c.rx << "," << c.ry << " scrolled " << c.scroll;
  }
  EXPECT_EQ(DraggedFontListScroll(5, 30, 40), 15);
  EXPECT_EQ(DraggedFontListScroll(5, 30, 10), -15);
  EXPECT_EQ(LimitFontListScroll(DraggedFontListScroll(20, 30, 60)), 25);
}

TEST(FontSizeList, TheTextBoxTakesTheHeightInTruncatedPoints) {
  const struct {
    int height, points;
  } cases[] = {{8, 6}, {9, 6}, {10, 7}, {11, 8}, {12, 9}, {14, 10}, {16, 12}, {18, 13}, {20, 15}};
  for (const auto& c : cases) EXPECT_EQ(FontPointSize(c.height), c.points) << c.height;
}

}  // namespace
}  // namespace lumenta::capture
