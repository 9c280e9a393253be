// Which pixels can differ between two capture frames. The pixel-for-pixel proof that recomposing
// only the damage gives the full composition runs under Wine (capture_window_test.cpp); these
// cases pin down the rectangles themselves.
#include "capture/model/frame_damage.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace lumenta::capture {
namespace {

constexpr Size kScreen{400, 300};

// The set of pixels the rectangles cover.
std::set<std::pair<int, int>> Pixels(const std::vector<Rect>& rects) {
  std::set<std::pair<int, int>> pixels;
  for (const Rect& r : rects) {
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) pixels.insert({x, y});
    }
  }
  return pixels;
}

FrameScene WithSelection(Rect s) {
  FrameScene scene = FrameScene::Dimmed();
  scene.selection = s;
  return scene;
}

TEST(FrameDamage, IsEmptyBetweenEqualScenesAndWholeWhenEitherIsUnknown) {
  const FrameScene a = WithSelection({10, 10, 50, 50});
  EXPECT_TRUE(FrameDamage(a, a, kScreen).empty());
  const std::vector<Rect> whole{{0, 0, 400, 300}};
  EXPECT_EQ(FrameDamage(FrameScene::Unknown(), a, kScreen), whole);
  EXPECT_EQ(FrameDamage(a, FrameScene::Unknown(), kScreen), whole);
}

TEST(FrameDamage, CoversTheChangedClearAreaAndBothFramesButNotTheUnchangedMiddle) {
  const FrameScene from = WithSelection({100, 100, 200, 200});
  const FrameScene to = WithSelection({100, 100, 210, 220});
  const auto pixels = Pixels(FrameDamage(from, to, kScreen));
  for (auto p :
       std::vector<std::pair<int, int>>{{205, 150},
                                        {150, 215},  // newly clear
                                        {99, 150},
                                        {100, 150},
                                        {101, 150},  // left frame line with its handle reach
                                        {199, 150},
                                        {201, 150},  // old right frame line
                                        {209, 150},
                                        {211, 150},  // new right frame line
                                        {150, 98},
                                        {150, 101}}) {
    EXPECT_TRUE(pixels.count(p)) << p.first << "," << p.second;
  }
  EXPECT_FALSE(pixels.count({150, 150}));
  EXPECT_FALSE(pixels.count({150, 102}));
  EXPECT_FALSE(pixels.count({300, 250}));
}

TEST(FrameDamage, CoversEveryPixelTheFrameAndHandlesCanTouch) {
  // Frame: the rectangle's edge pixels (right and bottom exclusive); handles: 4 x 4 squares
  // from (h - 2) to (h + 1) around each handle point, corners and midpoints.
  const Rect s{50, 60, 91, 121};
  std::vector<Rect> bands;
  AppendSelectionBands(s, bands);
  const auto covered = Pixels(bands);
  const int midX = s.left + s.Width() / 2, midY = s.top + s.Height() / 2;
  const Point handles[] = {{s.left, s.top},     {s.right, s.top}, {s.left, s.bottom},
                           {s.right, s.bottom}, {midX, s.top},    {midX, s.bottom},
                           {s.left, midY},      {s.right, midY}};
  for (Point h : handles) {
    for (int y = h.y - 2; y < h.y + 2; ++y) {
      for (int x = h.x - 2; x < h.x + 2; ++x) EXPECT_TRUE(covered.count({x, y})) << x << "," << y;
    }
  }
  for (int x = s.left; x < s.right; ++x) {
    EXPECT_TRUE(covered.count({x, s.top}));
    EXPECT_TRUE(covered.count({x, s.bottom - 1}));
  }
  for (int y = s.top; y < s.bottom; ++y) {
    EXPECT_TRUE(covered.count({s.left, y}));
    EXPECT_TRUE(covered.count({s.right - 1, y}));
  }
}

TEST(FrameDamage, TakesBothExtentsOfAMovedLabelOrMagnifierAndClipsToTheScreen) {
  FrameScene from = WithSelection({100, 100, 200, 200});
  FrameScene to = from;
  from.label = SizeLabelMark{{102, 78},
                             "100\xA1\xC1"
                             "100",
                             {100, 76, 160, 100}};
  to.label = SizeLabelMark{{102, 78},
                           "100\xA1\xC1"
                           "101",
                           {100, 76, 160, 100}};
  from.magnifier = MagnifierMark{{390, 10}, {256, 40, 380, 200}};
  to.magnifier = MagnifierMark{{395, 290}, {261, 120, 420, 330}};
  const std::vector<Rect> damage = FrameDamage(from, to, kScreen);
  const std::vector<Rect> expected{
      {100, 76, 160, 100}, {100, 76, 160, 100}, {256, 40, 380, 200}, {261, 120, 400, 300}};
  EXPECT_EQ(damage, expected);
}

TEST(FrameDamage, IncludesForeignAreasOfEitherSide) {
  FrameScene from = WithSelection({100, 100, 200, 200});
  FrameScene to = from;
  from.foreign.push_back({100, 203, 392, 229});  // a toolbar shown on the old frame
  EXPECT_EQ(FrameDamage(from, to, kScreen), (std::vector<Rect>{{100, 203, 392, 229}}));
}

TEST(CoverTranslucentDecorations, TakesInAWholeDecorationThatTheDamageTouches) {
  FrameScene to = WithSelection({100, 100, 200, 200});
  to.label = SizeLabelMark{{102, 78}, "x", {100, 76, 160, 100}};
  to.magnifier = MagnifierMark{{150, 150}, {150, 180, 274, 300}};
  // A strip that touches the label only: the label comes in whole, the magnifier stays out.
  std::vector<Rect> damage{{90, 90, 110, 95}};
  CoverTranslucentDecorations(damage, to, kScreen);
  EXPECT_EQ(damage, (std::vector<Rect>{{90, 90, 110, 95}, {100, 76, 160, 100}}));
  // A strip that touches the magnifier, which then touches nothing else.
  std::vector<Rect> other{{140, 190, 152, 192}};
  CoverTranslucentDecorations(other, to, kScreen);
  EXPECT_EQ(other, (std::vector<Rect>{{140, 190, 152, 192}, {150, 180, 274, 300}}));
}

TEST(CoverTranslucentDecorations, FollowsAChainFromOneDecorationToTheNext) {
  FrameScene to = WithSelection({100, 100, 200, 200});
  to.label = SizeLabelMark{{102, 78}, "x", {100, 76, 160, 100}};
  to.magnifier = MagnifierMark{{150, 50}, {140, 95, 264, 255}};  // overlaps the label
  std::vector<Rect> damage{{250, 250, 260, 260}};                // touches the magnifier only
  CoverTranslucentDecorations(damage, to, kScreen);
  EXPECT_EQ(damage,
            (std::vector<Rect>{{250, 250, 260, 260}, {140, 95, 264, 255}, {100, 76, 160, 100}}));
}

}  // namespace
}  // namespace lumenta::capture
