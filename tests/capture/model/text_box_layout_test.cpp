#include "capture/model/text_box_layout.h"

#include <gtest/gtest.h>

namespace lumenta::capture {
namespace {

constexpr Rect kSelection{100, 100, 300, 200};

TEST(TextBoxPlacement, PutsAFiftyPixelBoxAtThePressKeptLeftOfTheRightSide) {
  const struct {
    const char* name;
    int x, y, fontHeight;
    Rect selection;
    TextBoxPlacement expected;
  } cases[] = {
      {"at the press", 150, 150, 12, kSelection, {150, 150, 50, 17, 9}},
      {"ending on the right side", 250, 150, 12, kSelection, {250, 150, 50, 17, 9}},
      {"moved left to end on the right side", 260, 150, 12, kSelection, {250, 150, 50, 17, 9}},
      {"a text line ending on the bottom", 150, 188, 12, kSelection, {150, 188, 50, 17, 9}},
      {"moved up above the bottom", 150, 189, 12, kSelection, {150, 183, 50, 17, 9}},
      {"the largest size", 150, 150, 20, kSelection, {150, 150, 50, 25, 15}},
      {"the largest size near the bottom", 150, 190, 20, kSelection, {150, 175, 50, 25, 15}},
      {"a rectangle narrower than the box",
       110,
       150,
       12,
       {100, 100, 130, 200},
       {80, 150, 50, 17, 9}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlaceTextBox(c.x, c.y, c.selection, c.fontHeight), c.expected) << c.name;
  }
}

TEST(TextBoxGrowth, WidensWithTheTextAndStopsReadOnlyAtTheRightSide) {
  const struct {
    const char* name;
    int textWidth, currentWidth, boxLeft;
    TextBoxWidth expected;
  } cases[] = {
      {"short text keeps fifty", 30, 50, 150, {50, false}},
      {"text plus a height of fifty keeps fifty", 38, 50, 150, {50, false}},
      {"one pixel more widens", 39, 50, 150, {54, false}},
      {"wider text", 100, 54, 150, {115, false}},
      {"deleting narrows to the text", 60, 115, 150, {75, false}},
      {"deleting most goes back to fifty", 20, 115, 150, {50, false}},
      {"reaching the right side exactly", 135, 100, 150, {150, false}},
      {"one pixel past the right side", 136, 100, 150, {150, true}},
      {"a narrow box that fits keeps its width", 25, 20, 280, {20, false}},
      {"a box beyond the right side", 10, 50, 320, {0, true}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GrowTextBox(c.textWidth, c.currentWidth, 12, c.boxLeft, kSelection.right), c.expected)
        << c.name;
  }
}

TEST(TextBoxPosition, ComesBackInsideWhereItSticksOut) {
  const struct {
    const char* name;
    Point box;
    int width;
    Point expected;
  } cases[] = {
      {"inside stays", {150, 150}, 50, {150, 150}},
      {"left", {90, 150}, 50, {100, 150}},
      {"right", {260, 150}, 50, {250, 150}},
      {"top", {150, 95}, 50, {150, 100}},
      {"bottom", {150, 190}, 50, {150, 183}},
      {"far corner", {-5, 400}, 50, {100, 183}},
      {"wider than the rectangle ends on its right side", {90, 150}, 250, {50, 150}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MoveTextBoxInside(c.box, c.width, 17, kSelection), c.expected) << c.name;
  }
}

TEST(TextCommit, WritesInsideTheBoxBorderInRegionCoordinates) {
  EXPECT_EQ(TextCommitOrigin({150, 150}, kSelection), (Point{51, 52}));
  EXPECT_EQ(TextCommitOrigin({100, 100}, kSelection), (Point{1, 2}));
}

}  // namespace
}  // namespace lumenta::capture
