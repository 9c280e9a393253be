#include "ui/dpi_win.h"

#include "ui/design.h"

namespace lumenta::ui {
namespace {

template <typename Function>
Function User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 == nullptr
             ? nullptr
             : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

SIZE FrameSize(DWORD style, DWORD exStyle, int dpi) {
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = User32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, 0, 0};
  if (adjust != nullptr) {
    adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

int DpiForWindow(HWND window) {
  using GetDpi = UINT(WINAPI*)(HWND);
  static const auto getDpi = User32Function<GetDpi>("GetDpiForWindow");
  if (getDpi != nullptr && window != nullptr) {
    const UINT dpi = getDpi(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

SIZE ScaledOuterSize(SIZE outer96, DWORD style, DWORD exStyle, int dpi) {
  if (dpi == 96) return outer96;
  const SIZE frame96 = FrameSize(style, exStyle, 96);
  const SIZE frame = FrameSize(style, exStyle, dpi);
  return {ScaleToDpi(outer96.cx - frame96.cx, dpi) + frame.cx,
          ScaleToDpi(outer96.cy - frame96.cy, dpi) + frame.cy};
}

int SystemMetricForDpi(int index, int dpi) {
  using GetMetric = int(WINAPI*)(int, UINT);
  static const auto getMetric = User32Function<GetMetric>("GetSystemMetricsForDpi");
  if (getMetric != nullptr) return getMetric(index, static_cast<UINT>(dpi));
  return GetSystemMetrics(index);
}

}  // namespace lumenta::ui
