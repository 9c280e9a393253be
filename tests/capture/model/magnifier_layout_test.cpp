// The magnifier panel's place, the clipping of its sample at the screen edges and its texts.
#include "capture/model/magnifier_layout.h"

#include <gtest/gtest.h>

namespace lumenta::capture {
namespace {

constexpr Size kScreen{1920, 1080};

TEST(MagnifierLayout, SitsBelowTheCursorWithTheWholeSampleEnlarged) {
  const MagnifierLayout m = LayOutMagnifier({812, 40}, kScreen);
  EXPECT_EQ(m.panel, Rect::FromSize(812, 70, 124, 160));
  EXPECT_EQ(m.sampleOrigin, (Point{797, 25}));
  EXPECT_EQ(m.samplePart, Rect::FromSize(0, 0, 30, 30));
  EXPECT_EQ(m.zoomArea, Rect::FromSize(814, 72, 120, 120));
  EXPECT_EQ(m.zoomTarget, Rect::FromSize(815, 73, 120, 120));
  EXPECT_EQ(m.crossVertical, Rect::FromSize(875, 73, 4, 118));
  EXPECT_EQ(m.crossHorizontal, Rect::FromSize(815, 133, 118, 4));
  EXPECT_EQ(m.coordinatesOrigin, (Point{816, 195}));
  EXPECT_EQ(m.colourOrigin, (Point{816, 210}));
  EXPECT_EQ(m.coordinates, "x:812 y:40");
}

TEST(MagnifierLayout, EnlargesOnlyTheOnScreenQuarterAtTheTopLeftCorner) {
  const MagnifierLayout m = LayOutMagnifier({0, 0}, kScreen);
  EXPECT_EQ(m.panel, Rect::FromSize(0, 30, 124, 160));
  EXPECT_EQ(m.samplePart, Rect::FromSize(15, 15, 15, 15));
  EXPECT_EQ(m.zoomTarget, Rect::FromSize(63, 93, 60, 60));  // (px + 63, py + 63), 60 x 60
  EXPECT_EQ(m.coordinates, "x:0 y:0");
}

TEST(MagnifierLayout, MovesAwayFromTheRightAndBottomEdgesAndClipsTheSampleThere) {
  const struct {
    const char* what;
    Point p;
    Point panel;
    Rect samplePart;
  } cases[] = {
      {"near the left edge", {6, 500}, {6, 530}, Rect::FromSize(9, 0, 21, 30)},
      {"near the top edge", {500, 10}, {500, 40}, Rect::FromSize(0, 5, 30, 25)},
      {"126 from the right: stays right", {1796, 500}, {1796, 530}, Rect::FromSize(0, 0, 30, 30)},
      {"123 from the right: goes left", {1797, 500}, {1663, 530}, Rect::FromSize(0, 0, 30, 30)},
      {"at the right edge", {1915, 500}, {1781, 530}, Rect::FromSize(0, 0, 20, 30)},
      {"190 from the bottom: stays below", {500, 890}, {500, 920}, Rect::FromSize(0, 0, 30, 30)},
      {"189 from the bottom: goes above", {500, 891}, {500, 721}, Rect::FromSize(0, 0, 30, 30)},
      {"at the bottom edge", {500, 1079}, {500, 909}, Rect::FromSize(0, 0, 30, 16)},
      {"bottom-right corner", {1919, 1079}, {1785, 909}, Rect::FromSize(0, 0, 16, 16)},
  };
  for (const auto& c : cases) {
    const MagnifierLayout m = LayOutMagnifier(c.p, kScreen);
    EXPECT_EQ((Point{m.panel.left, m.panel.top}), c.panel) << c.what;
    EXPECT_EQ(m.samplePart, c.samplePart) << c.what;
    const Rect& s = m.samplePart;
    EXPECT_EQ(m.zoomTarget,
              Rect::FromSize(m.panel.left + 3 + 4 * s.left, m.panel.top + 3 + 4 * s.top,
                             4 * s.Width(), 4 * s.Height()))
        << c.what;
  }
}

TEST(ColourReadout, ReadsTheBytesOfTheGdiColourInOrder) {
  EXPECT_EQ(ColourReadout(0x00FFFFFF), "RGB:(255,255,255)");
  EXPECT_EQ(ColourReadout(0x00332211), "RGB:(17,34,51)");
  EXPECT_EQ(ColourReadout(0x00000000), "RGB:(0,0,0)");
}

}  // namespace
}  // namespace lumenta::capture
