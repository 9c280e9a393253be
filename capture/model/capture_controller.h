#pragma once
// The capture window's behaviour, independent of the window system: the window turns its mouse
// messages into calls here, and this decides what the selection becomes and what is drawn,
// through a CaptureView that the window implements.
#include "capture/model/capture_parts.h"
#include "capture/model/capture_session.h"
#include "capture/model/selection_model.h"

namespace lumenta::capture {

// What the controller asks of the capture window.
class CaptureView {
 public:
  virtual ~CaptureView() = default;
  // RenderSelection once its geometry is known: compose the frame (dimmed screen, clear
  // rectangle, frame, handles, label and, when asked, the magnifier) and show it.
  virtual void ShowFrame(const SelectionFrame& frame) = 0;
  // The magnifier drawn onto the paint layer over the back buffer and shown at once.
  virtual void ShowMagnifier(Point p) = 0;
  virtual void SetCursor(CaptureCursor cursor) = 0;
  virtual void ComposePaintLayer() = 0;
  virtual void PresentPaintLayer() = 0;
  virtual void DestroyWindow() = 0;
};

class CaptureController {
 public:
  CaptureController(CaptureSession& session, CaptureView& view, CaptureParts parts, Size screen)
      : session_(session), view_(view), parts_(parts), screen_(screen) {}

  // Window life: Opened at set-up; TearDown when the window is about to be destroyed (resets
  // the session and closes the magnifier).
  void Opened() { open_ = true; }
  void TearDown();
  [[nodiscard]] bool IsOpen() const { return open_; }

  // Mouse messages, in client coordinates (equal to screen coordinates). Where the toolbar, its
  // panel or the open text-size list lie over the selection (the toolbar sits inside a selection
  // that leaves no room below or above it), they take the mouse: a press there never starts a
  // drag or a drawing, a double click there does not put the region out, and the pointer stays
  // the arrow.
  void MouseMove(Point p);
  void ButtonDown(Point p);
  void ButtonUp(Point p);
  void DoubleClick(Point p);

  // The cursor the window shows at `p` when asked (before the move handling runs).
  [[nodiscard]] CaptureCursor CursorAt(Point p) const;

  // Clamps and normalises the rectangle of two corners, stores it in the session and shows the
  // frame.
  void RenderSelection(const RenderRequest& request);

  // The magnifier's own state: hidden after Hide and after the window closed, shown by a draw.
  void DrawMagnifier(Point p);
  void HideMagnifier();
  [[nodiscard]] bool MagnifierHidden() const { return magnifierHidden_; }
  [[nodiscard]] Point MagnifierLastPoint() const { return magnifierLast_; }

  [[nodiscard]] Size screen() const { return screen_; }
  [[nodiscard]] CaptureSession& session() { return session_; }
  [[nodiscard]] const CaptureSession& session() const { return session_; }

 private:
  [[nodiscard]] bool InsideFontSizeList(Point p) const;
  [[nodiscard]] bool OnToolbarOverSelection(Point p) const;
  [[nodiscard]] bool PointerOnToolbar(Point p) const;

  CaptureSession& session_;
  CaptureView& view_;
  CaptureParts parts_;
  Size screen_;
  bool open_ = false;
  bool pressOnToolbar_ = false;  // the held button went down on the toolbar over the selection
  bool magnifierHidden_ = false;
  Point magnifierLast_;
};

}  // namespace lumenta::capture
