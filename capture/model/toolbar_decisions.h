#pragma once
// What the capture toolbar does with a mouse movement or a press, decided from its flags and the
// point alone; the window side carries the steps out on its surfaces in the order given.
#include <vector>

#include "capture/model/toolbar_layout.h"

namespace lumenta::capture {

// What the options panel holds beside the colour box and the palette.
enum class PanelContent { kNothing, kSizeButtons, kTextSizeBox };

// The effect of choosing a tool. A pen width of 0 leaves the width (and the chosen size button)
// as it was.
struct ToolChoice {
  int panelWidth = 0;
  PanelContent content = PanelContent::kNothing;
  int paletteX = 0;
  int penWidth = 0;
  bool closesFontList = false;
  bool hidesTextBox = false;
  friend bool operator==(const ToolChoice&, const ToolChoice&) = default;
};
[[nodiscard]] ToolChoice ToolChoiceFor(Tool tool);

// Hover items: 0 none, 1..9 toolbar buttons, 10..12 size buttons.
inline constexpr int kHoverSizeButtonBase = 9;

// The toolbar's own flags as far as hovering and pressing need them.
struct ToolbarFlags {
  int hoverItem = 0;
  bool panelShown = false;
  bool sizeButtonsShown = false;
  bool paletteShown = false;
  bool fontBoxShown = false;
  bool fontListOpen = false;
  int paletteX = 0;
};

enum class HoverStep {
  kShow,                   // the toolbar and panel again over the paint layer: outlines vanish
  kOutlineButton,          // a rounded outline on toolbar button `index`
  kRedrawPanelAndList,     // the panel and the open list again, over an outline
  kOutlineSizeButton,      // a rounded outline on size button `index`
  kHighlightPaletteEntry,  // a framed swatch over palette entry `index`
  kHighlightTextSizeBox,   // the text-size box with its lit drop-down button
};

struct HoverAction {
  HoverStep step = HoverStep::kShow;
  int index = 0;
  friend bool operator==(const HoverAction&, const HoverAction&) = default;
};

// The drawing steps of one mouse movement over the toolbar at (rx, ry) in toolbar coordinates,
// and the hover item afterwards. The paint layer is shown after the steps in every case.
//
// Whatever erases the outlines (kShow) also forgets the hover item, so that the item always names
// the outline that is on the screen: moving over the same button again draws nothing, and coming
// back to a button after its outline was erased draws it again. A palette highlight is drawn over
// a fresh toolbar so that only one swatch is lit at a time.
struct HoverPlan {
  std::vector<HoverAction> actions;
  int hoverItem = 0;
};
[[nodiscard]] HoverPlan PlanHover(const ToolbarFlags& flags, int rx, int ry);

enum class ClickAction {
  kNothing,
  kChooseTool,  // index: the tool 1..5
  kReset,
  kSave,
  kCancel,
  kDone,
  kOpenFontList,
  kChooseSize,    // index: the size button 1..3
  kChooseColour,  // index: the palette entry 0..15
};

struct ClickDecision {
  ClickAction action = ClickAction::kNothing;
  int index = 0;
  friend bool operator==(const ClickDecision&, const ClickDecision&) = default;
};

// What a press at (rx, ry) in toolbar coordinates does. `insideFontList` tells that the press
// lies strictly inside the text-size list's frame, which takes such presses while the text-size
// box is shown. The first matching row wins: toolbar buttons, then the text-size box, the size
// buttons and the palette, each only while shown.
[[nodiscard]] ClickDecision DecideClick(const ToolbarFlags& flags, int rx, int ry,
                                        bool insideFontList);

}  // namespace lumenta::capture
