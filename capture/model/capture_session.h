#pragma once
// The state of one screen capture, from the click of the capture button to the destruction of
// the capture window: which phase the capture is in, the rectangle, and the data of the phase.
// The window code moves it only through the named transitions below; a transition asked for in
// a phase it does not start from changes nothing.
//
//   phase         entered by                                      left by
//   kChoosing     the start, StartOver, Reset, and a release      BeginNewRectangle
//                 that drew no rectangle
//   kDraggingOut  BeginNewRectangle (again: a new start point)     ReleaseButton
//   kSelected     ReleaseButton                                   HoldButton, ChooseTool
//   kAdjusting    HoldButton (BeginAdjust says what it does)      ReleaseButton, ChooseTool
//   kAnnotating   ChooseTool, ReleaseButton                       HoldButton
//   kDrawing      HoldButton, ChooseTool during a press           ReleaseButton
//
// The text-size box, the text-size list and the text height are not phases: they belong to the
// options panel, and are fields of their own.
#include <cstdint>

#include "capture/model/geometry.h"
#include "capture/model/selection_model.h"

namespace lumenta::capture {

enum class CapturePhase : std::uint8_t {
  kChoosing,     // no rectangle; the magnifier follows the pointer
  kDraggingOut,  // the left button is held and a new rectangle follows the pointer
  kSelected,     // a rectangle is selected and the button is up
  kAdjusting,    // the button is held on a selected rectangle: resizing, moving, or nothing
  kAnnotating,   // a drawing tool is chosen and the button is up
  kDrawing,      // a drawing tool is chosen and the button is held
};

inline constexpr int kDefaultTextFontHeight = 12;

class CaptureSession {
 public:
  [[nodiscard]] CapturePhase phase() const { return phase_; }

  // A rectangle has been completed (and not thrown away since).
  [[nodiscard]] bool HasSelection() const {
    return phase_ != CapturePhase::kChoosing && phase_ != CapturePhase::kDraggingOut;
  }
  // The left button went down in the capture window and is still held.
  [[nodiscard]] bool ButtonHeld() const {
    return phase_ == CapturePhase::kDraggingOut || phase_ == CapturePhase::kAdjusting ||
           phase_ == CapturePhase::kDrawing;
  }
  // A drawing tool is chosen: presses draw instead of resizing or moving.
  [[nodiscard]] bool ToolChosen() const {
    return phase_ == CapturePhase::kAnnotating || phase_ == CapturePhase::kDrawing;
  }

  // Always normalised; all four zero while choosing (and while dragging out before the first
  // movement).
  [[nodiscard]] const Rect& selection() const { return selection_; }
  // Where the press that drags out the new rectangle went down; (0, 0) in the other phases.
  [[nodiscard]] Point startPoint() const { return startPoint_; }
  // What the held button does to the rectangle; kNone outside kAdjusting.
  [[nodiscard]] DragMode dragMode() const { return dragMode_; }
  // The fixed point of a resize or move; (0, 0) until taken, and outside kAdjusting.
  [[nodiscard]] Point anchor() const { return anchor_; }

  // kChoosing (or kDraggingOut) -> kDraggingOut: the left button went down at `start`.
  bool BeginNewRectangle(Point start);
  // The rectangle as the window laid it out and drew it; ignored while choosing, where there
  // is none.
  void StoreSelection(const Rect& selection);
  // kSelected -> kAdjusting (with nothing to adjust yet) and kAnnotating -> kDrawing: the left
  // button went down over a selected rectangle.
  bool HoldButton();
  // kAdjusting: what the held button does; a move takes the press point `at` as its anchor.
  bool BeginAdjust(DragMode mode, Point at);
  // One pointer movement of the adjustment under way: the fixed point is taken on the first
  // one. Nothing to render outside kAdjusting.
  [[nodiscard]] DragStep StepAdjust(Point p);
  // The left button went up: kDraggingOut -> kSelected (kChoosing again when no rectangle was
  // drawn), kAdjusting -> kSelected, kDrawing -> kAnnotating. No effect in the other phases.
  void ReleaseButton();
  // kSelected -> kAnnotating and kAdjusting -> kDrawing (the press that chose the tool is still
  // held). A tool chosen again stays in its phase.
  bool ChooseTool();
  // The reset button: the rectangle and its annotations are thrown away and the capture starts
  // over at kChoosing with the options panel closed; the chosen text height stays.
  void StartOver();
  // Every value back to its start, as the destruction of the capture window leaves them.
  void Reset() { *this = CaptureSession{}; }

  // The options panel's text-size box is shown (the text tool is chosen).
  [[nodiscard]] bool textSizeBoxShown() const { return textSizeBoxShown_; }
  void SetTextSizeBoxShown(bool shown) { textSizeBoxShown_ = shown; }
  // The text-size list drops down from that box.
  [[nodiscard]] bool fontListOpen() const { return fontListOpen_; }
  void SetFontListOpen(bool open) { fontListOpen_ = open; }
  // The text tool's text height in pixels.
  [[nodiscard]] int textFontHeight() const { return textFontHeight_; }
  void SetTextFontHeight(int height) { textFontHeight_ = height; }

 private:
  void EnterPhase(CapturePhase phase);

  CapturePhase phase_ = CapturePhase::kChoosing;
  Rect selection_;
  Point startPoint_;
  DragMode dragMode_ = DragMode::kNone;
  Point anchor_;
  bool textSizeBoxShown_ = false;
  bool fontListOpen_ = false;
  int textFontHeight_ = kDefaultTextFontHeight;
};

}  // namespace lumenta::capture
