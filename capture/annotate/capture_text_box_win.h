#pragma once
// The capture window's text box (capture_window::kTextBox), where the text tool's text is typed
// before it is written onto the picture: placed at a press inside the selected rectangle, widened
// while text is typed until it reaches the rectangle's right side (then it takes no more text),
// moved by dragging and kept inside the rectangle.
#include <windows.h>

#include <string>
#include <vector>

#include "capture/model/capture_session.h"
#include "capture/model/geometry.h"
#include "capture/model/text_box_layout.h"
#include "capture/window/capture_parts_win.h"
#include "ui/window_win.h"

namespace lumenta::capture {

class CaptureTextBox {
 public:
  // The box is measured with the window's device context from `surfaces`, and kept inside the
  // session's rectangle.
  CaptureTextBox(CaptureWindowHost& window, const CaptureSurfaces& surfaces,
                 const CaptureSession& session)
      : window_(window), surfaces_(surfaces), session_(session) {}

  // The box's events (content changed, left button down and up, mouse moved) for the capture
  // window.
  [[nodiscard]] std::vector<ui::EventBinding> Events();

  [[nodiscard]] std::wstring Text() const;
  // Left, top, width and height in capture-window (screen) coordinates.
  [[nodiscard]] Rect Bounds() const;
  [[nodiscard]] bool IsReadOnly() const;

  // An empty, editable box at `placement` in `colour`, shown and given the keyboard focus.
  void Place(const TextBoxPlacement& placement, COLORREF colour);
  void EmptyAndHide();
  void Hide();
  void SetTextColour(COLORREF colour);
  // The box fits a text height: the height plus 5 pixels high, the font in points.
  void SetTextHeight(int fontHeight);

 private:
  void ContentChanged();
  void LeftDown(ui::Event& event);
  void LeftUp();
  void MouseMoved();
  void SetBounds(const Rect& bounds);

  CaptureWindowHost& window_;
  const CaptureSurfaces& surfaces_;
  const CaptureSession& session_;
};

}  // namespace lumenta::capture
