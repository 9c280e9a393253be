#include "capture/model/toolbar_decisions.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumenta::capture {
namespace {

using Step = HoverStep;

ToolbarFlags NoPanel(int hover = 0) { return {hover, false, false, false, false, false, 0}; }
ToolbarFlags SizesPanel(int hover = 0) { return {hover, true, true, true, false, false, 89}; }
ToolbarFlags ArrowPanel(int hover = 0) { return {hover, true, false, true, false, false, 8}; }
ToolbarFlags TextPanel(int hover = 0) { return {hover, true, false, true, true, false, 89}; }

struct HoverCase {
  const char* name;
  ToolbarFlags flags;
  int rx, ry;
  std::vector<HoverAction> actions;
  int hoverItem;
};

TEST(ToolbarHover, DrawsOneOutlineAtATimeAndForgetsItWhenErased) {
  const HoverCase cases[] = {
      {"outside with nothing lit does nothing", NoPanel(), -1, 10, {}, 0},
      {"leaving the toolbar erases the outline", NoPanel(3), 10, 67, {{Step::kShow}}, 0},
      {"right of the toolbar", NoPanel(3), 293, 10, {{Step::kShow}}, 0},
      {"the far corner still counts as over the toolbar", NoPanel(3), 292, 66, {}, 3},
      {"a new button is outlined over a fresh toolbar",
       NoPanel(),
       40,
       10,
       {{Step::kShow}, {Step::kOutlineButton, 2}, {Step::kRedrawPanelAndList}},
       2},
      {"moving to another button moves the outline",
       SizesPanel(2),
       120,
       10,
       {{Step::kShow}, {Step::kOutlineButton, 5}, {Step::kRedrawPanelAndList}},
       5},
      {"staying on the lit button draws nothing, panel or not", SizesPanel(2), 41, 11, {}, 2},
      {"staying on the lit button with the arrow panel", ArrowPanel(9), 250, 12, {}, 9},
      {"a gap between buttons keeps the outline without a panel", NoPanel(3), 139, 12, {}, 3},
      {"a size button is outlined", SizesPanel(), 40, 45, {{Step::kOutlineSizeButton, 2}}, 11},
      {"the lit size button draws nothing", SizesPanel(11), 41, 46, {}, 11},
      {"another size button is outlined beside the lit one",
       SizesPanel(11),
       60,
       45,
       {{Step::kOutlineSizeButton, 3}},
       12},
      {"off the size buttons erases", SizesPanel(12), 100, 64, {{Step::kShow}}, 0},
      {"a palette entry is lit over a fresh toolbar",
       SizesPanel(11),
       170,
       40,
       {{Step::kShow}, {Step::kHighlightPaletteEntry, 3}},
       0},
      {"the arrow panel's palette starts at x 8",
       ArrowPanel(),
       42,
       34,
       {{Step::kShow}, {Step::kHighlightPaletteEntry, 0}},
       0},
      {"between swatches of the arrow panel", ArrowPanel(), 55, 40, {{Step::kShow}}, 0},
      {"the text-size box lights up",
       TextPanel(),
       60,
       45,
       {{Step::kShow}, {Step::kHighlightTextSizeBox}},
       0},
      {"the text panel has no size buttons", TextPanel(), 20, 45, {{Step::kShow}}, 0},
  };
  for (const auto& c : cases) {
    const HoverPlan plan = PlanHover(c.flags, c.rx, c.ry);
    EXPECT_EQ(plan.actions, c.actions) << c.name;
    EXPECT_EQ(plan.hoverItem, c.hoverItem) << c.name;
  }
}

struct ClickCase {
  const char* name;
  ToolbarFlags flags;
  int rx, ry;
  bool insideFontList;
  ClickDecision expected;
};

TEST(ToolbarClick, FollowsTheClickTableInItsOrder) {
  ToolbarFlags listOpen = TextPanel();
  listOpen.fontListOpen = true;
  ToolbarFlags afterReset = SizesPanel();  // the panel is gone; its parts are not pressable
  afterReset.panelShown = false;
  const ClickCase cases[] = {
      {"rectangle tool", NoPanel(), 18, 12, false, {ClickAction::kChooseTool, 1}},
      {"ellipse tool", NoPanel(), 44, 12, false, {ClickAction::kChooseTool, 2}},
      {"arrow tool", NoPanel(), 70, 12, false, {ClickAction::kChooseTool, 3}},
      {"brush tool", NoPanel(), 96, 12, false, {ClickAction::kChooseTool, 4}},
      {"text tool", NoPanel(), 122, 12, false, {ClickAction::kChooseTool, 5}},
      {"reset", NoPanel(), 156, 12, false, {ClickAction::kReset}},
      {"save", NoPanel(), 182, 12, false, {ClickAction::kSave}},
      {"cancel", NoPanel(), 216, 12, false, {ClickAction::kCancel}},
      {"done", NoPanel(), 258, 12, false, {ClickAction::kDone}},
      {"a zone's edge", NoPanel(), 31, 12, false, {}},
      {"left of the toolbar", NoPanel(), -1, 12, false, {}},
      {"above the toolbar", NoPanel(), 18, -1, false, {}},
      {"a press the open list takes", TextPanel(), 18, 12, true, {}},
      {"the list's frame matters only with the text-size box",
       SizesPanel(),
       18,
       12,
       true,
       {ClickAction::kChooseTool, 1}},
      {"the text-size box opens the list",
       TextPanel(),
       60,
       45,
       false,
       {ClickAction::kOpenFontList}},
      {"the text-size box with the list open", listOpen, 60, 45, false, {}},
      {"size buttons", SizesPanel(), 40, 45, false, {ClickAction::kChooseSize, 2}},
      {"size button for width 8", SizesPanel(), 70, 45, false, {ClickAction::kChooseSize, 3}},
      {"no size buttons on the text panel", TextPanel(), 20, 45, false, {}},
      {"palette entry", SizesPanel(), 153, 55, false, {ClickAction::kChooseColour, 10}},
      {"palette entry of the arrow panel",
       ArrowPanel(),
       42,
       34,
       false,
       {ClickAction::kChooseColour, 0}},
      {"the panel after a reset", afterReset, 153, 55, false, {}},
      {"the size buttons after a reset", afterReset, 40, 45, false, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecideClick(c.flags, c.rx, c.ry, c.insideFontList), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace lumenta::capture
