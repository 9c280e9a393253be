#pragma once
// The screen-capture tool: the program-wide capture state and magnifier, and the capture window
// that a click of the capture button opens modally over a frozen, dimmed copy of the screen.
// The window procedure only turns messages into calls on the CaptureController and draws what
// it asks for through the CaptureRenderer.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "capture/model/capture_controller.h"
#include "capture/model/capture_parts.h"
#include "capture/window/capture_cursors_win.h"
#include "capture/window/capture_parts_win.h"
#include "capture/window/capture_renderer_win.h"
#include "capture/window/magnifier_win.h"
#include "ui/design.h"
#include "ui/window_win.h"

namespace lumenta::capture {

class CaptureTool final : private CaptureView {
 public:
  // `design` is the capture window's design (no border, topmost, in the task bar, Escape
  // closes, its text box 编辑框1); it must outlive the tool.
  explicit CaptureTool(const ui::WindowDesign& design) : design_(design) {}
  CaptureTool(const CaptureTool&) = delete;
  CaptureTool& operator=(const CaptureTool&) = delete;
  ~CaptureTool() override;

  // The click of the capture button: freezes the screen, then opens the capture window modally
  // (the thread's other windows take no input meanwhile) and returns once it is destroyed;
  // `owner` (may be nullptr), the window of the button, is active again by then.
  void StartCapture(HWND owner);

  // The toolbar, text-size list, canvas and output; parts left out are not called.
  void InstallParts(const CaptureParts& parts, CanvasPainter* canvasPainter = nullptr);
  // kWholeFrame composes and copies every frame whole (the reference the changed-pixel
  // composition is measured and checked against).
  void SetComposition(Composition composition) { composition_ = composition; }
  // Runs once the capture window is set up, just before it takes input.
  void SetOpenedHook(std::function<void(HWND)> hook) { openedHook_ = std::move(hook); }
  // Events of the capture window's controls (its text box) that the installed parts handle;
  // bound to every capture window from now on.
  void SetControlEvents(std::vector<ui::EventBinding> events) {
    controlEvents_ = std::move(events);
  }

  [[nodiscard]] CaptureState& state() { return state_; }
  [[nodiscard]] const Magnifier& magnifier() const { return magnifier_; }
  [[nodiscard]] const CaptureCursors& cursors() const { return cursors_; }
  // While the capture window exists (nullptr otherwise).
  [[nodiscard]] HWND window() const { return window_; }
  [[nodiscard]] HWND textBox() const { return textBox_; }
  // The runtime's window of the capture window (its controls by name), from its set-up on.
  [[nodiscard]] ui::Window* runtimeWindow() const { return shellWindow_; }
  // The whole screen's device context, taken at the capture's start.
  [[nodiscard]] HDC screenDc() const { return screenDc_ ? screenDc_->get() : nullptr; }
  [[nodiscard]] CaptureController* controller() { return renderer_ ? controller_.get() : nullptr; }
  [[nodiscard]] CaptureRenderer* renderer() { return renderer_.get(); }

  // Operations for the toolbar, canvas and output while the window exists (no effect
  // otherwise).
  void RenderSelection(const RenderRequest& request) {
    if (CaptureController* c = controller()) c->RenderSelection(request);
  }
  void ComposePaintLayer() override;
  void DrawSelectionFrame() {
    if (renderer_) renderer_->DrawSelectionFrame(state_.selection);
  }
  void PresentPaintLayer() override;
  void DestroyWindow() override;

 private:
  // CaptureView
  void ShowFrame(const SelectionFrame& frame) override;
  void ShowMagnifier(Point p) override;
  void SetCursor(CaptureCursor cursor) override;

  void SetUpWindow(HWND window, HWND textBox, Size screen);
  void TearDown();
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC previous);
  static LRESULT CALLBACK PaintHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  [[nodiscard]] Point ClientPoint(LPARAM lParam) const;

  const ui::WindowDesign& design_;
  CaptureState state_;
  Magnifier magnifier_;
  CaptureCursors cursors_;
  CaptureParts parts_;
  CanvasPainter* canvasPainter_ = nullptr;
  Composition composition_ = Composition::kChangedPixels;
  std::function<void(HWND)> openedHook_;
  std::vector<ui::EventBinding> controlEvents_;

  // One capture: from the click to the destruction of the window.
  Size screen_;
  std::unique_ptr<win::WindowDc> screenDc_;
  win::MemorySurface snapshot_;
  HWND window_ = nullptr;
  HWND textBox_ = nullptr;
  WNDPROC previousProcedure_ = nullptr;
  std::unique_ptr<CaptureRenderer> renderer_;
  std::unique_ptr<CaptureController> controller_;
  ui::Window* shellWindow_ = nullptr;  // the runtime's window while it is shown modally
};

}  // namespace lumenta::capture
