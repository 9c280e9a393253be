#include "capture/capture_tool_win.h"

#include <windowsx.h>

#include <algorithm>

#include "capture/window/capture_window_controls.h"
#include "capture/window/screen_snapshot_win.h"
#include "ui/window_win.h"

namespace lumenta::capture {

CaptureTool::~CaptureTool() {
  if (window_ && IsWindow(window_)) ::DestroyWindow(window_);
}

void CaptureTool::InstallParts(const CaptureParts& parts, CanvasPainter* canvasPainter) {
  parts_ = parts;
  canvasPainter_ = canvasPainter;
}

void CaptureTool::StartCapture(HWND owner) {
  if (window_) return;  // one capture at a time
  // Nothing is hidden first: the program's own windows are captured with the rest.
  screen_ = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  screenDc_ = std::make_unique<win::WindowDc>(nullptr);
  snapshot_ = win::CreateMemorySurface(screenDc_->get(), screen_.width, screen_.height);
  if (snapshot_) TakeSnapshot(screenDc_->get(), snapshot_.dc(), screen_.width, screen_.height);
  // The cross is made from its bytes in memory; no cursor file is written anywhere.
  cursors_.Load();

  // The window's created event is its set-up; it is then shown modally until it is destroyed.
  std::vector<ui::EventBinding> events;
  events.push_back({"", ui::EventKind::kCreated, [this](ui::Event& e) {
                      shellWindow_ = &e.window;
                      SetUpWindow(e.window, screen_);
                    }});
  events.insert(events.end(), controlEvents_.begin(), controlEvents_.end());
  std::unique_ptr<ui::Window> window = ui::Window::Create(design_, std::move(events));
  if (!window || !renderer_) {
    shellWindow_ = nullptr;
    window.reset();  // destroys the window if it was made; its filter was not set then
    TearDown();
    return;
  }
  shellWindow_ = window.get();
  if (openedHook_) openedHook_(window_);
  if (window->IsOpen()) window->ShowModal();
  shellWindow_ = nullptr;
  controller_.reset();
  // The capture window was the active window when it went; the window whose button started the
  // capture takes the keyboard again.
  if (owner && IsWindow(owner) && IsWindowEnabled(owner)) SetActiveWindow(owner);
}

void CaptureTool::SetUpWindow(ui::Window& shell, Size screen) {
  HWND window = shell.handle();
  window_ = window;
  textBox_ = shell.ControlHandle(capture_window::kTextBox);
  // Maximised, and exactly over the screen so that a client position is a screen position.
  ShowWindow(window, SW_MAXIMIZE);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, screen.width, screen.height, SWP_NOACTIVATE);
  renderer_ =
      std::make_unique<CaptureRenderer>(window, snapshot_.dc(), screen, magnifier_, composition_);
  if (!renderer_->backBuffer() || !renderer_->paintLayerForReading()) {
    renderer_.reset();
    return;
  }
  cursors_.MakeArrow();
  CaptureView& view = *this;
  controller_ = std::make_unique<CaptureController>(session_, view, parts_, screen);
  shell.SetMessageFilter([this](UINT message, WPARAM wParam, LPARAM lParam) {
    return Filter(message, wParam, lParam);
  });

  magnifier_.Init(renderer_->windowDc(), renderer_->paintLayerForReading());
  if (parts_.toolbar) parts_.toolbar->Init();
  if (parts_.fontSizeList) parts_.fontSizeList->Init();
  controller_->Opened();
  SetForegroundWindow(window);
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
}

void CaptureTool::TearDown() {
  if (controller_) controller_->TearDown();
  session_.Reset();
  magnifier_.Close();
  if (textBox_ && IsWindow(textBox_)) ShowWindow(textBox_, SW_HIDE);
  if (renderer_) {
    if (parts_.toolbar) parts_.toolbar->Close();
    if (parts_.fontSizeList) parts_.fontSizeList->Close();
    if (parts_.canvas) parts_.canvas->Clear();
  }
  renderer_.reset();
  snapshot_ = win::MemorySurface();
  screenDc_.reset();
  cursors_.Release();
  window_ = nullptr;
  textBox_ = nullptr;
}

Point CaptureTool::ClientPoint(LPARAM lParam) const {
  // While the button is held the window has the mouse capture and may be told of positions off
  // the screen (another monitor); they count as the nearest screen pixel.
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  return {std::clamp(x, 0, std::max(0, screen_.width - 1)),
          std::clamp(y, 0, std::max(0, screen_.height - 1))};
}

std::optional<LRESULT> CaptureTool::Filter(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  CaptureController* c = controller();
  switch (message) {
    case WM_PAINT:
      if (renderer_) {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        renderer_->Paint(session_.HasSelection());
        EndPaint(window, &ps);
      }
      break;
    case WM_ERASEBKGND:
      if (renderer_) return 1;  // every pixel is painted from the surfaces
      break;
    case WM_SETCURSOR:
      if (c && reinterpret_cast<HWND>(wParam) == window && LOWORD(lParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(window, &p);
        if (HCURSOR cursor = cursors_.Get(c->CursorAt(ClientPoint(MAKELPARAM(p.x, p.y))))) {
          ::SetCursor(cursor);
          return TRUE;
        }
      }
      break;
    case WM_MOUSEMOVE:
      if (c) c->MouseMove(ClientPoint(lParam));
      break;
    case WM_LBUTTONDOWN:
      if (c) {
        SetCapture(window);
        c->ButtonDown(ClientPoint(lParam));
      }
      break;
    case WM_LBUTTONUP:
      if (GetCapture() == window) ReleaseCapture();
      if (c) c->ButtonUp(ClientPoint(lParam));
      break;
    case WM_LBUTTONDBLCLK:
      if (c) c->DoubleClick(ClientPoint(lParam));
      break;
    case WM_DESTROY:
      TearDown();
      break;
    default:
      break;
  }
  // The runtime's own handling follows (its events, its close and destruction).
  return std::nullopt;
}

void CaptureTool::ShowFrame(const SelectionFrame& frame) {
  if (renderer_) renderer_->RenderFrame(frame);
}

void CaptureTool::ShowMagnifier(Point p) {
  if (renderer_) renderer_->ShowMagnifier(p);
}

void CaptureTool::SetCursor(CaptureCursor cursor) {
  if (HCURSOR h = cursors_.Get(cursor)) ::SetCursor(h);
}

HDC CaptureTool::WindowDc() const { return renderer_ ? renderer_->windowDc() : nullptr; }

HDC CaptureTool::Snapshot() const { return renderer_ ? renderer_->snapshot() : nullptr; }

HDC CaptureTool::PaintLayerForDrawing(const Rect& area) {
  return renderer_ ? renderer_->PaintLayerForDrawing(area) : nullptr;
}

HPEN CaptureTool::FramePen() const { return renderer_ ? renderer_->framePen() : nullptr; }

HFONT CaptureTool::LabelFont() const { return renderer_ ? renderer_->labelFont() : nullptr; }

void CaptureTool::ShowDimmedScreen() {
  if (renderer_) renderer_->ShowDimmedScreen();
}

void CaptureTool::ComposePaintLayer() {
  if (renderer_) {
    renderer_->ComposePaintLayer(session_.HasSelection(), session_.ToolChosen(),
                                 session_.selection(), canvasPainter_);
  }
}

void CaptureTool::DrawSelectionFrame() {
  if (renderer_) renderer_->DrawSelectionFrame(session_.selection());
}

void CaptureTool::PresentPaintLayer() {
  if (renderer_) renderer_->PresentPaintLayer();
}

void CaptureTool::DestroyWindow() {
  // As the window's own close does: the disabled windows come back before it goes, so the
  // activation passes to them rather than to another program.
  if (shellWindow_ && shellWindow_->IsOpen()) {
    shellWindow_->Close();
  } else if (window_) {
    ::DestroyWindow(window_);
  }
}

}  // namespace lumenta::capture
