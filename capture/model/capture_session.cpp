#include "capture/model/capture_session.h"

namespace lumenta::capture {

void CaptureSession::EnterPhase(CapturePhase phase) {
  phase_ = phase;
  // Each phase's data exists only in that phase, so a later one never finds it stale.
  if (phase != CapturePhase::kDraggingOut) startPoint_ = {};
  if (phase != CapturePhase::kAdjusting) {
    dragMode_ = DragMode::kNone;
    anchor_ = {};
  }
}

bool CaptureSession::BeginNewRectangle(Point start) {
  // A second press while dragging out (the release was lost to another window) starts the
  // rectangle again from there.
  if (phase_ != CapturePhase::kChoosing && phase_ != CapturePhase::kDraggingOut) return false;
  EnterPhase(CapturePhase::kDraggingOut);
  startPoint_ = start;
  return true;
}

void CaptureSession::StoreSelection(const Rect& selection) {
  if (phase_ != CapturePhase::kChoosing) selection_ = selection;
}

bool CaptureSession::HoldButton() {
  switch (phase_) {
    case CapturePhase::kSelected:
      EnterPhase(CapturePhase::kAdjusting);
      return true;
    case CapturePhase::kAnnotating:
      EnterPhase(CapturePhase::kDrawing);
      return true;
    default:
      return false;
  }
}

bool CaptureSession::BeginAdjust(DragMode mode, Point at) {
  if (phase_ != CapturePhase::kAdjusting) return false;
  dragMode_ = mode;
  anchor_ = mode == DragMode::kMove ? at : Point{};
  return true;
}

DragStep CaptureSession::StepAdjust(Point p) {
  if (phase_ != CapturePhase::kAdjusting) return {};
  return PerformDragStep(selection_, dragMode_, anchor_, p);
}

void CaptureSession::ReleaseButton() {
  switch (phase_) {
    case CapturePhase::kDraggingOut:
      // A press and release without movement drew nothing: still choosing.
      EnterPhase(selection_.IsZero() ? CapturePhase::kChoosing : CapturePhase::kSelected);
      break;
    case CapturePhase::kAdjusting:
      EnterPhase(CapturePhase::kSelected);
      break;
    case CapturePhase::kDrawing:
      EnterPhase(CapturePhase::kAnnotating);
      break;
    default:
      break;
  }
}

bool CaptureSession::ChooseTool() {
  switch (phase_) {
    case CapturePhase::kSelected:
      EnterPhase(CapturePhase::kAnnotating);
      return true;
    case CapturePhase::kAdjusting:
      EnterPhase(CapturePhase::kDrawing);
      return true;
    case CapturePhase::kAnnotating:
    case CapturePhase::kDrawing:
      return true;
    default:
      return false;
  }
}

void CaptureSession::StartOver() {
  EnterPhase(CapturePhase::kChoosing);
  selection_ = {};
  textSizeBoxShown_ = fontListOpen_ = false;
}

}  // namespace lumenta::capture
