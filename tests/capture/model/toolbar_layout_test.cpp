#include "capture/model/toolbar_layout.h"

#include <gtest/gtest.h>

#include "capture/model/capture_parts.h"
#include "capture/model/palette.h"
#include "capture/model/toolbar_decisions.h"

namespace lumenta::capture {
namespace {

struct PlacementCase {
  const char* name;
  Rect selection;
  bool panelShown;
  Point expected;
};

TEST(ToolbarPlacement, FollowsTheSelectionAndAvoidsTheScreenEdges) {
  constexpr int kScreenHeight = 600;
  const PlacementCase cases[] = {
      {"right-aligned, three pixels below", {400, 300, 800, 500}, false, {508, 503}},
      {"the panel changes nothing with room below", {400, 300, 800, 500}, true, {508, 503}},
      {"narrow selection near the left edge", {10, 100, 200, 200}, false, {2, 203}},
      {"x of exactly 2 stays", {100, 100, 294, 200}, false, {2, 203}},
      {"x of 1 becomes 2", {100, 100, 293, 200}, false, {2, 203}},
      {"x of 3 stays", {100, 100, 295, 200}, false, {3, 203}},
      {"toolbar ending on the last row stays below", {300, 200, 700, 571}, false, {408, 574}},
      {"toolbar one row too low goes 29 above", {300, 200, 700, 572}, false, {408, 171}},
      {"toolbar and panel ending on the last row stay below",
       {300, 200, 700, 531},
       true,
       {408, 534}},
      {"toolbar and panel one row too low go 68 above", {300, 200, 700, 532}, true, {408, 132}},
      {"without the panel the lower limit is the toolbar's",
       {300, 200, 700, 532},
       false,
       {408, 535}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlaceToolbar(c.selection, c.panelShown, kScreenHeight), c.expected) << c.name;
  }
}

// Selections at each edge and corner of a 1920 x 1080 screen, and reaching both its top and its
// bottom: below and above stay as they always were; where neither fits, the toolbar (with its
// panel) goes inside the rectangle, its lowest row 3 pixels above the rectangle's bottom edge.
TEST(ToolbarPlacement, StaysOnTheScreenAtEveryEdgeAndInsideASelectionTooTallForBelowOrAbove) {
  constexpr int kWidth = 1920, kHeight = 1080;
  const PlacementCase cases[] = {
      {"top edge: below", {600, 0, 1000, 300}, false, {708, 303}},
      {"top edge with the panel: below", {600, 0, 1000, 300}, true, {708, 303}},
      {"bottom edge: above", {600, 800, 1000, 1080}, false, {708, 771}},
      {"bottom edge with the panel: above", {600, 800, 1000, 1080}, true, {708, 732}},
      {"left edge: two pixels in", {0, 400, 200, 600}, false, {2, 603}},
      {"right edge: right-aligned", {1600, 400, 1920, 600}, false, {1628, 603}},
      {"top-left corner", {0, 0, 300, 200}, true, {8, 203}},
      {"top-right corner", {1700, 0, 1920, 150}, false, {1628, 153}},
      {"bottom-left corner: above", {0, 900, 250, 1080}, false, {2, 871}},
      {"bottom-right corner with the panel: above", {1500, 950, 1920, 1080}, true, {1628, 882}},
      {"whole screen: inside", {0, 0, 1920, 1080}, false, {1628, 1051}},
      {"whole screen with the panel: inside, higher", {0, 0, 1920, 1080}, true, {1628, 1011}},
      {"whole screen as dragged to the last pixel", {0, 0, 1919, 1079}, false, {1627, 1050}},
      {"as dragged, with the panel", {0, 0, 1919, 1079}, true, {1627, 1010}},
      {"full height at the left edge", {0, 0, 500, 1080}, true, {208, 1011}},
      {"full height, narrower than the toolbar", {0, 0, 100, 1080}, false, {2, 1051}},
      {"full height at the right edge", {1800, 0, 1920, 1040}, true, {1628, 971}},
      {"toolbar ending on the last row stays below", {700, 28, 1000, 1051}, false, {708, 1054}},
      {"above reaching the top row stays above", {700, 29, 1000, 1052}, false, {708, 0}},
      {"one row short of above goes inside", {700, 28, 1000, 1052}, false, {708, 1023}},
      {"with the panel, above reaching the top row", {700, 68, 1000, 1012}, true, {708, 0}},
      {"with the panel, one row short goes inside", {700, 67, 1000, 1012}, true, {708, 943}},
  };
  for (const auto& c : cases) {
    const Point p = PlaceToolbar(c.selection, c.panelShown, kHeight);
    EXPECT_EQ(p, c.expected) << c.name;
    const int reach = c.panelShown ? kHoverAreaHeight : kToolbarHeight;
    EXPECT_TRUE(p.x >= 0 && p.x + kToolbarWidth <= kWidth && p.y >= 0 && p.y + reach <= kHeight)
        << c.name;
  }
}

// Every selection on a grid over the screen, with and without the panel: the toolbar, the panel
// and the text-size list opened from the panel lie wholly on the screen.
TEST(ToolbarPlacement, ToolbarPanelAndTextSizeListLieOnTheScreenForEverySelection) {
  constexpr int kWidth = 1920, kHeight = 1080, kStep = 9;
  int offScreen = 0;
  for (int top = 0; top < kHeight; top += kStep) {
    for (int bottom = top + 1; bottom <= kHeight; bottom += kStep) {
      for (const int left : {0, 1, 300, 1700}) {
        for (const int right : {left + 1, left + 150, kWidth}) {
          for (const bool panel : {false, true}) {
            const Point p = PlaceToolbar({left, top, right, bottom}, panel, kHeight);
            const int reach = panel ? kHoverAreaHeight : kToolbarHeight;
            // The list opens from the text-size box, which only the panel holds.
            const Point list = panel ? PlaceFontSizeList(p, kHeight) : Point{};
            const bool on = p.x >= 0 && p.x + kToolbarWidth <= kWidth && p.y >= 0 &&
                            p.y + reach <= kHeight && list.y >= 0 &&
                            list.y + (panel ? kFontSizeListHeight : 0) <= kHeight;
            if (!on && ++offScreen <= 5) {
              ADD_FAILURE() << left << "," << top << "," << right << "," << bottom
                            << (panel ? " with the panel" : "") << ": toolbar at " << p.x << ","
                            << p.y << ", list at " << list.y;
            }
          }
        }
      }
    }
  }
  EXPECT_EQ(offScreen, 0);
}

TEST(FontSizeListPlacement, OpensUnderTheTextSizeBoxOrAboveTheToolbar) {
  EXPECT_EQ(PlaceFontSizeList({100, 400}, 600), (Point{130, 460}));
  EXPECT_EQ(PlaceFontSizeList({100, 416}, 600), (Point{130, 476}));  // ends on row 600
  EXPECT_EQ(PlaceFontSizeList({100, 417}, 600), (Point{130, 330}));
  // Under a toolbar inside a whole-screen selection: above it, inside the selection.
  EXPECT_EQ(PlaceFontSizeList({1628, 1011}, 1080), (Point{1658, 924}));
  // A screen too short for either side keeps the list's top on it.
  EXPECT_EQ(PlaceFontSizeList({100, 87}, 200), (Point{130, 0}));
  EXPECT_EQ(PlaceFontSizeList({100, 40}, 200), (Point{130, 0}));
}

TEST(ToolbarArea, HoldsTheToolbarThePanelAndTheGapBetweenThemAndNothingElse) {
  const Point at{500, 300};
  struct Case {
    int panelWidth;
    Point p;
    bool covered;
  } cases[] = {
      {0, {500, 300}, true},    {0, {791, 325}, true},    {0, {792, 310}, false},
      {0, {600, 326}, false},   {0, {499, 310}, false},   {0, {600, 299}, false},
      {248, {600, 327}, true},  {248, {747, 365}, true},  {248, {748, 340}, false},
      {248, {600, 366}, false}, {167, {700, 340}, false}, {167, {666, 340}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToolbarCovers(at, c.panelWidth, c.p), c.covered)
        << c.p.x << "," << c.p.y << " with a panel " << c.panelWidth << " wide";
  }
}

TEST(ToolbarButtons, APointIsOnAButtonOnlyStrictlyInsideItsZone) {
  for (int k = 1; k <= 9; ++k) {
    const Zone z = kToolbarButtonZones[k - 1];
    SCOPED_TRACE(k);
    EXPECT_EQ(ToolbarButtonAt(z.left + 1, z.top + 1), k);
    EXPECT_EQ(ToolbarButtonAt(z.right - 1, z.bottom - 1), k);
    EXPECT_EQ(ToolbarButtonAt((z.left + z.right) / 2, (z.top + z.bottom) / 2), k);
    EXPECT_EQ(ToolbarButtonAt(z.left, z.top + 5), 0);
    EXPECT_EQ(ToolbarButtonAt(z.right, z.top + 5), 0);
    EXPECT_EQ(ToolbarButtonAt(z.left + 5, z.top), 0);
    EXPECT_EQ(ToolbarButtonAt(z.left + 5, z.bottom), 0);
  }
  EXPECT_EQ(ToolbarButtonAt(139, 12), 0);  // the dividers
  EXPECT_EQ(ToolbarButtonAt(199, 12), 0);
  EXPECT_EQ(ToolbarButtonAt(290, 12), 0);
  EXPECT_EQ(ToolbarButtonAt(-1, -1), 0);
}

TEST(OptionsPanelZones, SizeButtonsTextSizeBoxAndPaletteAreFoundStrictlyInside) {
  struct Case {
    int rx, ry, sizeButton;
  } sizes[] = {{9, 38, 1},  {25, 55, 1}, {8, 45, 0},  {26, 45, 0}, {31, 45, 2}, {49, 55, 2},
               {50, 45, 0}, {58, 38, 3}, {76, 55, 3}, {77, 45, 0}, {60, 37, 0}, {60, 56, 0}};
  for (const auto& c : sizes) {
    EXPECT_EQ(SizeButtonAt(c.rx, c.ry), c.sizeButton) << c.rx << "," << c.ry;
  }
  EXPECT_EQ(SizeButtonOfWidth(1), 1);
  EXPECT_EQ(SizeButtonOfWidth(4), 2);
  EXPECT_EQ(SizeButtonOfWidth(8), 3);
  EXPECT_EQ(SizeButtonOfWidth(0), 0);

  EXPECT_TRUE(OnTextSizeBox(32, 39));
  EXPECT_TRUE(OnTextSizeBox(76, 56));
  EXPECT_FALSE(OnTextSizeBox(31, 45));
  EXPECT_FALSE(OnTextSizeBox(77, 45));
  EXPECT_FALSE(OnTextSizeBox(50, 38));
  EXPECT_FALSE(OnTextSizeBox(50, 57));

  struct PaletteCase {
    int paletteX, rx, ry, entry;
  } palette[] = {
      {89, 123, 34, 0},  {89, 134, 45, 0},  {89, 122, 40, -1}, {89, 135, 40, -1}, {89, 138, 40, 1},
      {89, 228, 34, 7},  {89, 239, 45, 7},  {89, 240, 40, -1}, {89, 123, 49, 8},  {89, 153, 55, 10},
      {89, 239, 60, 15}, {89, 130, 46, -1}, {89, 130, 47, -1}, {89, 130, 61, -1}, {8, 42, 34, 0},
      {8, 72, 49, 10},   {8, 158, 60, 15},  {8, 123, 34, 5},   {89, 42, 34, -1},
  };
  for (const auto& c : palette) {
    EXPECT_EQ(PaletteEntryAt(c.rx, c.ry, c.paletteX), c.entry)
        << c.rx << "," << c.ry << " at palette x " << c.paletteX;
  }
}

TEST(OptionsPanelZones, SwatchHoverAndColourBoxRectanglesFollowThePaletteX) {
  EXPECT_EQ(PaletteSwatch(0, 89), (Zone{122, 4, 135, 17}));
  EXPECT_EQ(PaletteSwatch(10, 89), (Zone{152, 19, 165, 32}));
  EXPECT_EQ(PaletteSwatch(15, 8), (Zone{146, 19, 159, 32}));
  EXPECT_EQ(PaletteHoverFrame(10, 89), (Zone{151, 47, 166, 62}));
  EXPECT_EQ(PaletteHoverFill(10, 89), (Zone{153, 49, 165, 61}));
  EXPECT_EQ(ColourBoxFrame(89), (Zone{89, 4, 117, 32}));
  EXPECT_EQ(ColourBoxFill(8), (Zone{10, 6, 35, 31}));
  // The swatch drawn on the panel lies under the zone that picks it (panel y + 29).
  for (int n = 0; n < 16; ++n) {
    const Zone swatch = PaletteSwatch(n, 89).Moved(0, kPanelOffsetY);
    EXPECT_EQ(
        PaletteEntryAt((swatch.left + swatch.right) / 2, (swatch.top + swatch.bottom) / 2, 89), n);
  }
}

TEST(ToolChoiceTable, GivesPanelPaletteWidthAndListEffectsPerTool) {
  struct Case {
    Tool tool;
    ToolChoice expected;
  } cases[] = {
      {Tool::kRectangle, {248, PanelContent::kSizeButtons, 89, 1, true, true}},
      {Tool::kEllipse, {248, PanelContent::kSizeButtons, 89, 1, true, true}},
      {Tool::kArrow, {167, PanelContent::kNothing, 8, 0, true, true}},
      {Tool::kBrush, {248, PanelContent::kSizeButtons, 89, 8, true, true}},
      {Tool::kText, {248, PanelContent::kTextSizeBox, 89, 0, false, false}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToolChoiceFor(c.tool), c.expected) << static_cast<int>(c.tool);
  }
}

TEST(Palette, RedIsEntryTenAndWhiteEntryEight) {
  EXPECT_EQ(kPaletteColours[kPaletteRed], 0x0000FFu);
  EXPECT_EQ(kPaletteColours[kPaletteWhite], 0xFFFFFFu);
  EXPECT_EQ(kPaletteColours[2], 0x000080u);   // dark red
  EXPECT_EQ(kPaletteColours[13], 0xFF0000u);  // blue
}

}  // namespace
}  // namespace lumenta::capture
