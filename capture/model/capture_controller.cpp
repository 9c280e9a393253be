#include "capture/model/capture_controller.h"

namespace lumenta::capture {

void CaptureController::TearDown() {
  session_.Reset();
  pressOnToolbar_ = false;
  magnifierHidden_ = true;
  magnifierLast_ = {};
  open_ = false;
}

bool CaptureController::InsideFontSizeList(Point p) const {
  if (parts_.fontSizeList == nullptr) return false;
  const Point at = parts_.fontSizeList->Position();
  return PointStrictlyInside(p.x, p.y, at.x, at.y, at.x + kFontSizeListWidth,
                             at.y + kFontSizeListHeight);
}

bool CaptureController::OnToolbarOverSelection(Point p) const {
  if (!session_.HasSelection() || !session_.selection().Contains(p)) return false;
  return (parts_.toolbar && parts_.toolbar->Covers(p)) ||
         (session_.fontListOpen() && InsideFontSizeList(p));
}

bool CaptureController::PointerOnToolbar(Point p) const {
  // A drag or drawing under way keeps its own cursor when it passes under the toolbar.
  return (!session_.ButtonHeld() || pressOnToolbar_) && OnToolbarOverSelection(p);
}

void CaptureController::RenderSelection(const RenderRequest& request) {
  const SelectionFrame frame = LayOutSelection(request, session_.selection(), screen_);
  session_.StoreSelection(frame.selection);
  view_.ShowFrame(frame);
  if (frame.withMagnifier) {
    magnifierHidden_ = false;
    magnifierLast_ = frame.magnifierPoint;
  }
}

void CaptureController::DrawMagnifier(Point p) {
  view_.ShowMagnifier(p);
  magnifierHidden_ = false;
  magnifierLast_ = p;
}

void CaptureController::HideMagnifier() {
  const Rect& s = session_.selection();
  RenderSelection({s.left, s.top, s.right, s.bottom, std::nullopt, false});
  magnifierHidden_ = true;
}

void CaptureController::MouseMove(Point p) {
  switch (session_.phase()) {
    case CapturePhase::kChoosing:
      DrawMagnifier(p);  // the magnifier follows the cursor
      return;
    case CapturePhase::kDraggingOut: {
      const Point start = session_.startPoint();
      RenderSelection({start.x, start.y, p.x, p.y});
      return;
    }
    default:
      break;
  }
  if (!session_.ButtonHeld()) {
    if (parts_.toolbar) parts_.toolbar->Hover(p);
    if (!open_) return;
    if (session_.fontListOpen() && InsideFontSizeList(p)) parts_.fontSizeList->Hover(p);
    if (!open_) return;
  }
  if (session_.ToolChosen()) {
    if (parts_.canvas) parts_.canvas->ToolMove(p);
    return;
  }
  if (!session_.HasSelection() || PointerOnToolbar(p)) return;
  const CaptureCursor hover = HoverCursor(session_.selection(), p);
  if (hover != CaptureCursor::kUnchanged) view_.SetCursor(hover);
  const DragStep step = session_.StepAdjust(p);
  if (step.cursor != CaptureCursor::kUnchanged) view_.SetCursor(step.cursor);
  if (step.render) RenderSelection(*step.render);
}

void CaptureController::ButtonDown(Point p) {
  // Presses go to the text-size list only while it is open: a closed list has no buttons.
  if (session_.fontListOpen() && session_.HasSelection() && InsideFontSizeList(p)) {
    parts_.fontSizeList->Click(p);
    return;
  }
  // Decided before the click: choosing a tool shows the panel, which can move the toolbar away
  // from under the press.
  pressOnToolbar_ = OnToolbarOverSelection(p);
  if (session_.BeginNewRectangle(p)) return;  // no rectangle yet: a new one starts here
  session_.HoldButton();
  if (parts_.toolbar) {
    parts_.toolbar->Click(p);
    if (!open_) return;  // cancel, done or save ended the capture
  }
  // After a reset there is no selection left, and the press starts a new one as anywhere else.
  if (session_.BeginNewRectangle(p) || pressOnToolbar_) return;
  if (session_.ToolChosen()) {
    const Rect& r = session_.selection();
    if (PointStrictlyInside(p.x, p.y, r.left, r.top, r.right, r.bottom) && parts_.canvas) {
      parts_.canvas->ToolDown(p);
    }
    return;
  }
  session_.BeginAdjust(PressedZone(session_.selection(), p), p);
}

void CaptureController::ButtonUp(Point p) {
  pressOnToolbar_ = false;
  if (session_.fontListOpen() && session_.HasSelection() && parts_.fontSizeList) {
    parts_.fontSizeList->ButtonUp();
  }
  session_.ReleaseButton();
  if (!session_.HasSelection()) return;
  if (!magnifierHidden_) HideMagnifier();
  if (session_.ToolChosen() && parts_.canvas) parts_.canvas->ToolUp(p);
  view_.ComposePaintLayer();
  if (parts_.toolbar) parts_.toolbar->Show();
  view_.PresentPaintLayer();
}

void CaptureController::DoubleClick(Point p) {
  const Rect& r = session_.selection();
  if (!PointStrictlyInside(p.x, p.y, r.left, r.top, r.right, r.bottom)) return;
  if (OnToolbarOverSelection(p)) return;  // quick presses of a toolbar button, not a copy
  if (parts_.output) parts_.output->CopySelectionToClipboard();
  if (open_) view_.DestroyWindow();
}

CaptureCursor CaptureController::CursorAt(Point p) const {
  if (!session_.HasSelection() || PointerOnToolbar(p)) return CaptureCursor::kArrow;
  const Rect& r = session_.selection();
  if (session_.ToolChosen()) {
    return PointStrictlyInside(p.x, p.y, r.left, r.top, r.right, r.bottom) ? CaptureCursor::kCross
                                                                           : CaptureCursor::kArrow;
  }
  switch (session_.dragMode()) {
    case DragMode::kTop:
    case DragMode::kBottom:
      return CaptureCursor::kSizeVertical;
    case DragMode::kLeft:
    case DragMode::kRight:
      return CaptureCursor::kSizeHorizontal;
    case DragMode::kMove:
      return CaptureCursor::kMove;
    default:
      break;
  }
  const CaptureCursor hover = HoverCursor(r, p);
  return hover == CaptureCursor::kUnchanged ? CaptureCursor::kArrow : hover;
}

}  // namespace lumenta::capture
