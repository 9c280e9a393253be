#include "capture/model/toolbar_decisions.h"

namespace lumenta::capture {

ToolChoice ToolChoiceFor(Tool tool) {
  switch (tool) {
    case Tool::kRectangle:
    case Tool::kEllipse:
      return {kPanelWidthWide, PanelContent::kSizeButtons, kPaletteXWide, 1, true, true};
    case Tool::kArrow:
      return {kPanelWidthNarrow, PanelContent::kNothing, kPaletteXNarrow, 0, true, true};
    case Tool::kBrush:
      return {kPanelWidthWide, PanelContent::kSizeButtons, kPaletteXWide, 8, true, true};
    case Tool::kText:
      return {kPanelWidthWide, PanelContent::kTextSizeBox, kPaletteXWide, 0, false, false};
    case Tool::kNone:
      break;
  }
  return {};
}

HoverPlan PlanHover(const ToolbarFlags& flags, int rx, int ry) {
  HoverPlan plan;
  plan.hoverItem = flags.hoverItem;
  auto add = [&plan](HoverStep step, int index = 0) { plan.actions.push_back({step, index}); };
  auto show = [&] {
    add(HoverStep::kShow);
    plan.hoverItem = 0;
  };

  if (rx < 0 || ry < 0 || rx > kToolbarWidth || ry > kHoverAreaHeight) {
    if (flags.hoverItem != 0) show();
    return plan;
  }

  if (const int button = ToolbarButtonAt(rx, ry); button != 0) {
    if (button != flags.hoverItem) {
      show();
      add(HoverStep::kOutlineButton, button);
      add(HoverStep::kRedrawPanelAndList);
      plan.hoverItem = button;
    }
    return plan;
  }
  if (!flags.panelShown) return plan;

  const int sizeButton = flags.sizeButtonsShown ? SizeButtonAt(rx, ry) : 0;
  if (flags.sizeButtonsShown) {
    if (sizeButton != 0) {
      if (kHoverSizeButtonBase + sizeButton != plan.hoverItem) {
        add(HoverStep::kOutlineSizeButton, sizeButton);
        plan.hoverItem = kHoverSizeButtonBase + sizeButton;
      }
    } else {
      show();
    }
  }
  if (flags.paletteShown && sizeButton == 0) {
    const int entry = PaletteEntryAt(rx, ry, flags.paletteX);
    if (plan.actions.empty() || plan.actions.back().step != HoverStep::kShow) show();
    if (entry >= 0) add(HoverStep::kHighlightPaletteEntry, entry);
  }
  if (flags.fontBoxShown && OnTextSizeBox(rx, ry)) add(HoverStep::kHighlightTextSizeBox);
  return plan;
}

ClickDecision DecideClick(const ToolbarFlags& flags, int rx, int ry, bool insideFontList) {
  if (rx < 0 || ry < 0) return {};
  if (flags.fontBoxShown && insideFontList) return {};
  if (const int button = ToolbarButtonAt(rx, ry); button != 0) {
    switch (button) {
      case kButtonReset:
        return {ClickAction::kReset};
      case kButtonSave:
        return {ClickAction::kSave};
      case kButtonCancel:
        return {ClickAction::kCancel};
      case kButtonDone:
        return {ClickAction::kDone};
      default:
        return {ClickAction::kChooseTool, button};
    }
  }
  if (flags.fontBoxShown && OnTextSizeBox(rx, ry)) {
    return flags.fontListOpen ? ClickDecision{} : ClickDecision{ClickAction::kOpenFontList};
  }
  if (flags.panelShown && flags.sizeButtonsShown) {
    if (const int sizeButton = SizeButtonAt(rx, ry); sizeButton != 0) {
      return {ClickAction::kChooseSize, sizeButton};
    }
  }
  if (flags.panelShown && flags.paletteShown) {
    if (const int entry = PaletteEntryAt(rx, ry, flags.paletteX); entry >= 0) {
      return {ClickAction::kChooseColour, entry};
    }
  }
  return {};
}

}  // namespace lumenta::capture
