#pragma once
// The screen-capture tool: the program-wide capture session and magnifier, and the capture
// window that a click of the capture button opens modally over a frozen, dimmed copy of the
// screen. The window's message filter only turns messages into calls on the CaptureController
// and draws what it asks for through the CaptureRenderer. The toolbar, canvas, text box and
// output see the tool as its surfaces and its window (capture_parts_win.h).
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/text.h"
#include "capture/model/capture_controller.h"
#include "capture/model/capture_parts.h"
#include "capture/window/capture_cursors_win.h"
#include "capture/window/capture_parts_win.h"
#include "capture/window/capture_renderer_win.h"
#include "capture/window/gdiplus_session_win.h"
#include "capture/window/magnifier_win.h"
#include "capture/window/screen_surfaces_win.h"
#include "ui/design.h"
#include "ui/window_win.h"

namespace lumenta::capture {

// The steps of a capture's start as they ended, each at a QueryPerformanceCounter time in
// milliseconds; the first is the start itself. Kept for the benchmark's profile.
struct StartProfile {
  struct Mark {
    const char* step;
    double ms;
  };
  std::vector<Mark> marks;
  void Clear() { marks.clear(); }
  void Add(const char* step);
};

// The message shown (GBK) when a capture's surfaces of the screen's size cannot be made: the
// screen is too large for the memory left to capture it.
[[nodiscard]] Text ScreenTooLargeMessage(Size screen);

class CaptureTool final : public CaptureSurfaces, public CaptureWindowHost, private CaptureView {
 public:
  // `design` is the capture window's design (no border, topmost, in the task bar, Escape
  // closes, its controls named in capture_window_controls.h); it must outlive the tool.
  explicit CaptureTool(const ui::WindowDesign& design) : design_(design) {}
  CaptureTool(const CaptureTool&) = delete;
  CaptureTool& operator=(const CaptureTool&) = delete;
  ~CaptureTool() override;

  // The click of the capture button: freezes the screen, then opens the capture window modally
  // (the thread's other windows take no input meanwhile) and returns once it is destroyed;
  // `owner` (may be nullptr), the window of the button, is active again by then. The first
  // frame (the dimmed screen) is shown as soon as it can be, and the rest of the set-up
  // (toolbar, magnifier, back buffer and paint layer) follows before the window takes input.
  // When a surface of the screen's size cannot be made, no window opens and the message
  // ScreenTooLargeMessage says why. The surfaces of a capture stay for the next one for a
  // while (SpareSurfaces).
  void StartCapture(HWND owner);

  // The toolbar, text-size list, canvas and output; parts left out are not called.
  void InstallParts(const CaptureParts& parts, CanvasPainter* canvasPainter = nullptr);
  // kWholeFrame composes and copies every frame whole (the reference the changed-pixel
  // composition is measured and checked against).
  void SetComposition(Composition composition) { composition_ = composition; }
  // Runs once the capture window is set up, just before it takes input.
  void SetOpenedHook(std::function<void(HWND)> hook) { openedHook_ = std::move(hook); }
  // Runs after each WM_PAINT of the capture window has been handled (the benchmark's end of the
  // first painted frame).
  void SetPaintedHook(std::function<void(HWND)> hook) { paintedHook_ = std::move(hook); }
  // Events of the capture window's controls (its text box) that the installed parts handle;
  // bound to every capture window from now on.
  void SetControlEvents(std::vector<ui::EventBinding> events) {
    controlEvents_ = std::move(events);
  }

  [[nodiscard]] CaptureSession& session() { return session_; }
  [[nodiscard]] const CaptureSession& session() const { return session_; }
  [[nodiscard]] const Magnifier& magnifier() const { return magnifier_; }
  [[nodiscard]] const CaptureCursors& cursors() const { return cursors_; }
  // While the capture window exists (nullptr otherwise).
  [[nodiscard]] HWND window() const { return window_; }
  [[nodiscard]] HWND textBox() const { return textBox_; }
  [[nodiscard]] CaptureController* controller() { return renderer_ ? controller_.get() : nullptr; }
  [[nodiscard]] CaptureRenderer* renderer() { return renderer_.get(); }
  // Where the time of the last start went: the end of each of its steps.
  [[nodiscard]] const StartProfile& startProfile() const { return startProfile_; }
  // The surfaces kept from the last capture.
  [[nodiscard]] SpareSurfaces& spareSurfaces() { return spare_; }

  // CaptureSurfaces
  [[nodiscard]] bool Ready() const override { return renderer_ && controller_; }
  [[nodiscard]] HDC WindowDc() const override;
  [[nodiscard]] HDC ScreenDc() const override { return screenDc_ ? screenDc_->get() : nullptr; }
  [[nodiscard]] HDC Snapshot() const override;
  [[nodiscard]] HDC PaintLayerForDrawing(const Rect& area) override;
  [[nodiscard]] HPEN FramePen() const override;
  [[nodiscard]] HFONT LabelFont() const override;
  [[nodiscard]] Size Screen() const override { return screen_; }
  void ShowDimmedScreen() override;
  void ComposePaintLayer() override;
  void DrawSelectionFrame() override;
  void PresentPaintLayer() override;

  // CaptureWindowHost
  [[nodiscard]] HWND Handle() const override { return window_; }
  [[nodiscard]] HWND TextBox() const override { return textBox_; }
  // From the window's set-up until its modal loop has ended.
  [[nodiscard]] ui::Window* Controls() const override { return shellWindow_; }
  void Close() override { DestroyWindow(); }

 private:
  // CaptureView
  void ShowFrame(const SelectionFrame& frame) override;
  void ShowMagnifier(Point p) override;
  void SetCursor(CaptureCursor cursor) override;
  void DestroyWindow() override;

  // The window's created event: the renderer over the surfaces made, the window maximised over
  // the screen and its first frame painted and handed to the display.
  void ShowFirstFrame(ui::Window& window, Size screen);
  // Once the first frame is shown: GDI+ (once for the tool), the renderer's other objects,
  // cursors, magnifier, toolbar and text-size list, and the controller.
  void CompleteSetUp(ui::Window& window);
  void TearDown();
  // The capture window's messages before the runtime's own handling: an answer ends the
  // message there.
  std::optional<LRESULT> Filter(UINT message, WPARAM wParam, LPARAM lParam);
  [[nodiscard]] Point ClientPoint(LPARAM lParam) const;

  const ui::WindowDesign& design_;
  CaptureSession session_;
  Magnifier magnifier_;
  CaptureCursors cursors_;
  CaptureParts parts_;
  CanvasPainter* canvasPainter_ = nullptr;
  Composition composition_ = Composition::kChangedPixels;
  std::function<void(HWND)> openedHook_;
  std::function<void(HWND)> paintedHook_;
  StartProfile startProfile_;
  bool profilingFirstPaint_ = false;  // while the first frame is painted
  std::vector<ui::EventBinding> controlEvents_;

  // Started by the first capture, shut down with the tool (after the parts' GDI+ objects went).
  std::optional<GdiplusSession> gdiplus_;
  // The last capture's surfaces, for a while after it ended.
  SpareSurfaces spare_;

  // One capture: from the click to the destruction of the window.
  Size screen_;
  std::unique_ptr<win::WindowDc> screenDc_;
  ScreenSurfaces surfaces_;  // the renderer draws on them
  HWND window_ = nullptr;
  HWND textBox_ = nullptr;
  std::unique_ptr<CaptureRenderer> renderer_;
  std::unique_ptr<CaptureController> controller_;
  ui::Window* shellWindow_ = nullptr;  // the runtime's window while it is shown modally
};

}  // namespace lumenta::capture
