#pragma once
// The text-size list that drops down from the options panel's text-size box: nine sizes in a
// window of five and a half rows with a scroll bar whose thumb can be dragged; hovering lights
// an entry, a press on one makes it the text height of the text tool and closes the list.
#include <windows.h>

#include <optional>

#include "capture/model/capture_parts.h"
#include "capture/model/capture_session.h"
#include "capture/toolbar/font_size_list_painter_win.h"
#include "capture/window/capture_parts_win.h"

namespace lumenta::capture {

class CaptureTextBox;
class CaptureToolbar;

class FontSizeList final : public FontSizeListPart {
 public:
  FontSizeList(CaptureSurfaces& surfaces, CaptureSession& session, CaptureTextBox& textBox)
      : surfaces_(surfaces), session_(session), textBox_(textBox) {}
  void SetToolbar(CaptureToolbar* toolbar) { toolbar_ = toolbar; }

  // Makes the list anew: its pictures, entry 5 (12 pixels) selected, and the text height 12.
  void Init() override;
  // Releases the pictures; nothing is selected or scrolled, the list is closed.
  void Close() override;
  [[nodiscard]] Point Position() const override { return position_; }
  void Hover(Point p) override;
  void Click(Point p) override;
  void ButtonUp() override { dragStartY_ = 0; }

  // Draws the list onto the paint layer at `at`, scrolled to `scroll` (limited to 0..25) or
  // as it was.
  void ShowAt(Point at, std::optional<int> scroll = std::nullopt);

  [[nodiscard]] int selectedEntry() const { return selected_; }
  [[nodiscard]] int scroll() const { return scroll_; }

 private:
  CaptureSurfaces& surfaces_;
  CaptureSession& session_;
  CaptureTextBox& textBox_;
  CaptureToolbar* toolbar_ = nullptr;
  FontSizeListPainter painter_;
  bool made_ = false;
  int selected_ = 0;
  int scroll_ = 0;
  int dragStartY_ = 0;  // 0: the thumb is not being dragged
  int scrollAtDragStart_ = 0;
  Point position_;
};

}  // namespace lumenta::capture
