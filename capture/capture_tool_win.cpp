#include "capture/capture_tool_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "capture/model/dimming.h"
#include "capture/window/capture_window_controls.h"
#include "capture/window/screen_snapshot_win.h"
#include "ui/message_box.h"
#include "ui/window_win.h"

namespace lumenta::capture {
void StartProfile::Add(const char* step) {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  marks.push_back({step, double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart)});
}

CaptureTool::~CaptureTool() {
  if (window_ && IsWindow(window_)) ::DestroyWindow(window_);
}

void CaptureTool::InstallParts(const CaptureParts& parts, CanvasPainter* canvasPainter) {
  parts_ = parts;
  canvasPainter_ = canvasPainter;
}

Text ScreenTooLargeMessage(Size screen) {
  // 屏幕太大（W×H），可用的内存不足以截取整个屏幕！
  return "\xC6\xC1\xC4\xBB\xCC\xAB\xB4\xF3\xA3\xA8" + std::to_string(screen.width) + "\xA1\xC1" +
         std::to_string(screen.height) +
         "\xA3\xA9\xA3\xAC\xBF\xC9\xD3\xC3\xB5\xC4\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3\xD2\xD4\xBD\xD8"
         "\xC8\xA1\xD5\xFB\xB8\xF6\xC6\xC1\xC4\xBB\xA3\xA1";
}

void CaptureTool::StartCapture(HWND owner) {
  if (window_) return;  // one capture at a time
  startProfile_.Clear();
  startProfile_.marks.reserve(16);
  startProfile_.Add("start");
  // Nothing is hidden first: the program's own windows are captured with the rest.
  screen_ = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  screenDc_ = std::make_unique<win::WindowDc>(nullptr);
  // Every surface of the screen's size is there before anything is shown: a screen too large
  // for the memory left opens no window, and says so.
  HDC screenDc = screenDc_->get();
  const int w = screen_.width, h = screen_.height;
  surfaces_ = spare_.Take(screenDc, screen_, GetDeviceCaps(screenDc, BITSPIXEL));
  if (!surfaces_) {
    TearDown();
    ui::ShowMessage(ScreenTooLargeMessage(screen_));
    return;
  }
  startProfile_.Add("surfaces");
  TakeSnapshot(screenDc, surfaces_.snapshot.dc(), w, h);
  GdiFlush();  // the copy is in the snapshot's pixels before they are read
  startProfile_.Add("snapshot");
  DimPixels(reinterpret_cast<const std::uint32_t*>(surfaces_.snapshot.bits()),
            reinterpret_cast<std::uint32_t*>(surfaces_.dimmed.bits()), size_t(w) * size_t(h));
  startProfile_.Add("dimmed");

  // The window's created event shows the first frame; the rest of the set-up follows, then it
  // is shown modally until it is destroyed.
  std::vector<ui::EventBinding> events;
  events.push_back({"", ui::EventKind::kCreated, [this](ui::Event& e) {
                      shellWindow_ = &e.window;
                      startProfile_.Add("window created");
                      ShowFirstFrame(e.window, screen_);
                    }});
  events.insert(events.end(), controlEvents_.begin(), controlEvents_.end());
  std::unique_ptr<ui::Window> window = ui::Window::Create(design_, std::move(events));
  if (!window || !renderer_) {
    shellWindow_ = nullptr;
    window.reset();  // destroys the window if it was made
    TearDown();
    return;
  }
  shellWindow_ = window.get();
  if (renderer_) CompleteSetUp(*window);  // unless the window went meanwhile
  startProfile_.Add("set up");
  if (openedHook_) openedHook_(window_);
  if (window->IsOpen()) window->ShowModal();
  shellWindow_ = nullptr;
  controller_.reset();
  // The capture window was the active window when it went; the window whose button started the
  // capture takes the keyboard again.
  if (owner && IsWindow(owner) && IsWindowEnabled(owner)) SetActiveWindow(owner);
}

void CaptureTool::ShowFirstFrame(ui::Window& shell, Size screen) {
  HWND window = shell.handle();
  window_ = window;
  textBox_ = shell.ControlHandle(capture_window::kTextBox);
  // Painted from the dimmed copy from the start (no background is erased first).
  renderer_ = std::make_unique<CaptureRenderer>(window, surfaces_, magnifier_, composition_);
  shell.SetMessageFilter([this](UINT message, WPARAM wParam, LPARAM lParam) {
    return Filter(message, wParam, lParam);
  });
  // Maximised, and exactly over the screen so that a client position is a screen position.
  ShowWindow(window, SW_MAXIMIZE);
  startProfile_.Add("maximised");
  SetWindowPos(window, HWND_TOPMOST, 0, 0, screen.width, screen.height, SWP_NOACTIVATE);
  startProfile_.Add("placed");
  // Under Wine the copy of the first frame is the first write into the window's new surface,
  // which the profile shows apart.
  profilingFirstPaint_ = true;
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  profilingFirstPaint_ = false;
  startProfile_.Add("first paint");
  // The frame reaches the display before the rest of the set-up: Wine hands a window's pixels
  // to the X server when its thread looks for messages (on Windows this returns at once).
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
  startProfile_.Add("shown");
}

void CaptureTool::CompleteSetUp(ui::Window& shell) {
  HWND window = shell.handle();
  if (!gdiplus_) gdiplus_.emplace();  // once for the tool
  renderer_->CompleteSetUp(gdiplus_->started());
  // The cross is made from its bytes in memory; no cursor file is written anywhere.
  cursors_.Load();
  cursors_.MakeArrow();
  CaptureView& view = *this;
  controller_ = std::make_unique<CaptureController>(session_, view, parts_, screen_);
  // The surfaces are ready now (Ready) for the parts to set themselves up on.
  magnifier_.Init(renderer_->windowDc(), renderer_->paintLayerForReading());
  if (parts_.toolbar) parts_.toolbar->Init();
  if (parts_.fontSizeList) parts_.fontSizeList->Init();
  controller_->Opened();
  SetForegroundWindow(window);
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
  spare_.Keep(std::exchange(surfaces_, ScreenSurfaces()));
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
        if (profilingFirstPaint_) startProfile_.Add("first frame: painting");
        renderer_->Paint(session_.HasSelection());
        if (profilingFirstPaint_) startProfile_.Add("first frame: copied into the window");
        profilingFirstPaint_ = false;
        EndPaint(window, &ps);
        if (paintedHook_) paintedHook_(window);
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
