#include "capture/toolbar/capture_toolbar_win.h"

#include "capture/annotate/annotation_canvas_win.h"
#include "capture/annotate/capture_text_box_win.h"
#include "capture/model/selection_model.h"
#include "capture/output/capture_output_win.h"
#include "capture/toolbar/font_size_list_win.h"

namespace lumenta::capture {
namespace {

Rect AsRect(const Zone& z) { return {z.left, z.top, z.right, z.bottom}; }

}  // namespace

void CaptureToolbar::Init() {
  if (!surfaces_.Ready()) return;
  painter_.Init(surfaces_.WindowDc());
  position_ = {};
  shown_ = panelShown_ = sizeButtonsShown_ = paletteShown_ = false;
  panelWidth_ = hoverItem_ = paletteX_ = chosenTool_ = chosenSizeButton_ = 0;
}

void CaptureToolbar::Close() {
  painter_.Close();
  shown_ = panelShown_ = sizeButtonsShown_ = paletteShown_ = false;
  panelWidth_ = hoverItem_ = paletteX_ = chosenTool_ = chosenSizeButton_ = 0;
}

ToolbarFlags CaptureToolbar::Flags() const {
  return {hoverItem_,
          panelShown_,
          sizeButtonsShown_,
          paletteShown_,
          session_.textSizeBoxShown(),
          session_.fontListOpen(),
          paletteX_};
}

HDC CaptureToolbar::LayerFor(const Zone& zone) {
  return surfaces_.PaintLayerForDrawing(AsRect(zone));
}

void CaptureToolbar::Show() {
  if (!surfaces_.Ready()) return;
  position_ = PlaceToolbar(session_.selection(), panelShown_, surfaces_.Screen().height);
  shown_ = true;
  painter_.CopyToolbar(
      LayerFor(Zone{0, 0, kToolbarWidth, kToolbarHeight}.Moved(position_.x, position_.y)),
      position_);
  RedrawPanelAndList();
}

void CaptureToolbar::RedrawPanelAndList() {
  if (!surfaces_.Ready()) return;
  if (panelShown_) {
    const Zone panel{0, kPanelOffsetY, panelWidth_, kPanelOffsetY + kPanelHeight};
    painter_.CopyPanel(LayerFor(panel.Moved(position_.x, position_.y)), position_, panelWidth_);
  }
  if (session_.fontListOpen()) {
    list_.ShowAt(PlaceFontSizeList(position_, surfaces_.Screen().height));
  }
}

bool CaptureToolbar::Covers(Point p) const {
  return shown_ && ToolbarCovers(position_, panelShown_ ? panelWidth_ : 0, p);
}

void CaptureToolbar::Hover(Point p) {
  if (!surfaces_.Ready()) return;
  const HoverPlan plan = PlanHover(Flags(), p.x - position_.x, p.y - position_.y);
  for (const HoverAction& action : plan.actions) {
    switch (action.step) {
      case HoverStep::kShow:
        Show();
        break;
      case HoverStep::kOutlineButton: {
        const Zone zone = kToolbarButtonZones[action.index - 1].Moved(position_.x, position_.y);
        painter_.OutlineZone(LayerFor(zone), zone);
        break;
      }
      case HoverStep::kRedrawPanelAndList:
        RedrawPanelAndList();
        break;
      case HoverStep::kOutlineSizeButton: {
        const Zone zone = kSizeButtonZones[action.index - 1].Moved(position_.x, position_.y);
        painter_.OutlineZone(LayerFor(zone), zone);
        break;
      }
      case HoverStep::kHighlightPaletteEntry: {
        const Zone frame = PaletteHoverFrame(action.index, paletteX_);
        painter_.HighlightPaletteEntry(LayerFor(frame.Moved(position_.x, position_.y)), position_,
                                       action.index, paletteX_);
        break;
      }
      case HoverStep::kHighlightTextSizeBox:
        painter_.HighlightTextSizeBox(LayerFor(kTextSizeBoxZone.Moved(position_.x, position_.y)),
                                      position_, surfaces_.FramePen());
        break;
    }
  }
  hoverItem_ = plan.hoverItem;
  surfaces_.PresentPaintLayer();
}

void CaptureToolbar::Click(Point p) {
  const Point list = list_.Position();
  const bool insideList = session_.fontListOpen() &&
                          PointStrictlyInside(p.x, p.y, list.x, list.y, list.x + kFontSizeListWidth,
                                              list.y + kFontSizeListHeight);
  const ClickDecision decision =
      DecideClick(Flags(), p.x - position_.x, p.y - position_.y, insideList);
  switch (decision.action) {
    case ClickAction::kChooseTool:
      ChooseTool(decision.index);
      break;
    case ClickAction::kReset:
      Reset();
      break;
    case ClickAction::kSave:
      output_.SaveSelectionToFile();
      break;
    case ClickAction::kCancel:
      output_.Cancel();
      break;
    case ClickAction::kDone:
      output_.CopySelectionToClipboard();
      output_.Cancel();
      break;
    case ClickAction::kOpenFontList:
      list_.Init();
      session_.SetFontListOpen(true);
      break;
    case ClickAction::kChooseSize:
      ChooseSize(decision.index);
      break;
    case ClickAction::kChooseColour:
      ChooseColour(decision.index);
      break;
    case ClickAction::kNothing:
      break;
  }
}

void CaptureToolbar::ShowPanel(int width) {
  painter_.ShowPanel(width);
  panelShown_ = true;
  panelWidth_ = width;
  sizeButtonsShown_ = paletteShown_ = false;
  session_.SetTextSizeBoxShown(false);
}

void CaptureToolbar::DrawPalette(int paletteX) {
  paletteX_ = paletteX;
  choices_.currentColour = kPaletteRed;
  painter_.DrawPalette(paletteX, choices_.currentColour);
  paletteShown_ = true;
}

void CaptureToolbar::DrawTextSizeBox() {
  if (!surfaces_.Ready()) return;
  painter_.DrawTextSizeBox(session_.textFontHeight(), surfaces_.LabelFont());
  session_.SetTextSizeBoxShown(true);
}

void CaptureToolbar::OutlineSizeButton(int sizeButton) {
  painter_.EraseSizeButtonOutline(chosenSizeButton_);
  painter_.OutlineSizeButton(sizeButton);
  chosenSizeButton_ = sizeButton;
}

void CaptureToolbar::ChooseTool(int tool) {
  const ToolChoice choice = ToolChoiceFor(static_cast<Tool>(tool));
  painter_.EraseToolOutline(chosenTool_);
  painter_.OutlineTool(tool);
  ShowPanel(choice.panelWidth);
  if (choice.content == PanelContent::kSizeButtons) {
    painter_.DrawSizeButtons();
    sizeButtonsShown_ = true;
  } else if (choice.content == PanelContent::kTextSizeBox) {
    DrawTextSizeBox();
  }
  DrawPalette(choice.paletteX);
  chosenTool_ = tool;
  // The annotated copy is made for the first tool chosen on this rectangle; later choices draw
  // on with it.
  const bool firstTool = !session_.ToolChosen();
  session_.ChooseTool();
  if (choice.penWidth != 0) {
    choices_.penWidth = choice.penWidth;
    OutlineSizeButton(SizeButtonOfWidth(choice.penWidth));
  }
  if (choice.closesFontList) session_.SetFontListOpen(false);
  Show();
  if (firstTool) canvas_.Start();
  choices_.currentTool = static_cast<Tool>(tool);
  if (choice.hidesTextBox) textBox_.Hide();
}

void CaptureToolbar::ChooseSize(int sizeButton) {
  choices_.penWidth = kSizeButtonWidths[sizeButton - 1];
  OutlineSizeButton(sizeButton);
  Show();
}

void CaptureToolbar::ChooseColour(int entry) {
  choices_.currentColour = entry;
  painter_.DrawColourBox(paletteX_, entry);
  textBox_.SetTextColour(kPaletteColours[entry]);
}

void CaptureToolbar::Reset() {
  surfaces_.ShowDimmedScreen();
  session_.StartOver();
  shown_ = panelShown_ = false;
  panelWidth_ = 0;
  sizeButtonsShown_ = paletteShown_ = false;
  hoverItem_ = 0;
  painter_.EraseToolOutline(chosenTool_);
  chosenTool_ = 0;
  canvas_.Clear();
  list_.Close();
  // Text typed but not yet written goes with the other annotations.
  textBox_.EmptyAndHide();
}

}  // namespace lumenta::capture
