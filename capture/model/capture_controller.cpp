#include "capture/model/capture_controller.h"

namespace lumenta::capture {

void CaptureController::TearDown() {
  state_.Reset();
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
  const CaptureState& s = state_;
  if (!s.hasSelection || !s.selection.Contains(p)) return false;
  return (parts_.toolbar && parts_.toolbar->Covers(p)) || (s.fontListOpen && InsideFontSizeList(p));
}

bool CaptureController::PointerOnToolbar(Point p) const {
  // A drag or drawing under way keeps its own cursor when it passes under the toolbar.
  return (!state_.buttonDown || pressOnToolbar_) && OnToolbarOverSelection(p);
}

void CaptureController::RenderSelection(const RenderRequest& request) {
  const SelectionFrame frame = LayOutSelection(request, state_.selection, screen_);
  state_.selection = frame.selection;
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
  const Rect& s = state_.selection;
  RenderSelection({s.left, s.top, s.right, s.bottom, std::nullopt, false});
  magnifierHidden_ = true;
}

void CaptureController::MouseMove(Point p) {
  CaptureState& s = state_;
  if (!s.hasSelection && !s.buttonDown) {
    DrawMagnifier(p);  // choosing: the magnifier follows the cursor
    return;
  }
  if (s.buttonDown && !s.hasSelection) {
    RenderSelection({s.startPoint.x, s.startPoint.y, p.x, p.y});  // dragging out
    return;
  }
  if (!s.buttonDown) {
    if (parts_.toolbar) parts_.toolbar->Hover(p);
    if (!open_) return;
    if (s.fontListOpen && InsideFontSizeList(p)) parts_.fontSizeList->Hover(p);
    if (!open_) return;
  }
  if (s.toolActive) {
    if (parts_.canvas) parts_.canvas->ToolMove(p);
    return;
  }
  if (!s.hasSelection || PointerOnToolbar(p)) return;
  const CaptureCursor hover = HoverCursor(s.selection, p);
  if (hover != CaptureCursor::kUnchanged) view_.SetCursor(hover);
  const DragStep step = PerformDragStep(s, p);
  if (step.cursor != CaptureCursor::kUnchanged) view_.SetCursor(step.cursor);
  if (step.render) RenderSelection(*step.render);
}

void CaptureController::ButtonDown(Point p) {
  CaptureState& s = state_;
  // Presses go to the text-size list only while it is open: a closed list has no buttons.
  if (s.fontListOpen && s.hasSelection && InsideFontSizeList(p)) {
    parts_.fontSizeList->Click(p);
    return;
  }
  s.buttonDown = true;
  // Decided before the click: choosing a tool shows the panel, which can move the toolbar away
  // from under the press.
  pressOnToolbar_ = OnToolbarOverSelection(p);
  if (s.hasSelection && parts_.toolbar) {
    parts_.toolbar->Click(p);
    if (!open_) return;  // cancel, done or save ended the capture
  }
  // After a reset there is no selection left, and the press starts a new one as anywhere else.
  if (pressOnToolbar_ && s.hasSelection) return;
  if (s.toolActive) {
    const Rect& r = s.selection;
    if (PointStrictlyInside(p.x, p.y, r.left, r.top, r.right, r.bottom) && parts_.canvas) {
      parts_.canvas->ToolDown(p);
    }
    return;
  }
  if (!s.hasSelection) {
    s.startPoint = p;
    return;
  }
  s.dragMode = PressedZone(s.selection, p);
  if (s.dragMode == DragMode::kMove) s.anchor = p;
}

void CaptureController::ButtonUp(Point p) {
  CaptureState& s = state_;
  s.buttonDown = false;
  pressOnToolbar_ = false;
  s.dragMode = DragMode::kNone;
  s.anchor = {};
  if (s.fontListOpen && s.hasSelection && parts_.fontSizeList) parts_.fontSizeList->ButtonUp();
  if (s.selection.IsZero()) return;
  s.hasSelection = true;
  if (!magnifierHidden_) HideMagnifier();
  if (s.toolActive && parts_.canvas) parts_.canvas->ToolUp(p);
  view_.ComposePaintLayer();
  if (parts_.toolbar) parts_.toolbar->Show();
  view_.PresentPaintLayer();
}

void CaptureController::DoubleClick(Point p) {
  const Rect& r = state_.selection;
  if (!PointStrictlyInside(p.x, p.y, r.left, r.top, r.right, r.bottom)) return;
  if (OnToolbarOverSelection(p)) return;  // quick presses of a toolbar button, not a copy
  if (parts_.output) parts_.output->CopySelectionToClipboard();
  if (open_) view_.DestroyWindow();
}

CaptureCursor CaptureController::CursorAt(Point p) const {
  const CaptureState& s = state_;
  if (!s.hasSelection || PointerOnToolbar(p)) return CaptureCursor::kArrow;
  const Rect& r = s.selection;
  if (s.toolActive) {
    return PointStrictlyInside(p.x, p.y, r.left, r.top, r.right, r.bottom) ? CaptureCursor::kCross
                                                                           : CaptureCursor::kArrow;
  }
  if (s.buttonDown) {
    switch (s.dragMode) {
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
  }
  const CaptureCursor hover = HoverCursor(r, p);
  return hover == CaptureCursor::kUnchanged ? CaptureCursor::kArrow : hover;
}

}  // namespace lumenta::capture
