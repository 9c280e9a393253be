#include "ui/busy_cursor_win.h"

#include <commctrl.h>

namespace lumenta::ui {
namespace {

constexpr UINT_PTR kHookId = 0x4C42;  // "LB": distinct from the runtime's own subclasses

// Lets the window under the mouse choose its cursor again, as if the mouse had moved.
void RefreshCursor() {
  POINT point;
  if (!GetCursorPos(&point)) return;
  HWND under = WindowFromPoint(point);
  if (!under || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId()) return;
  const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
               MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
}

}  // namespace

BusyCursor::BusyCursor(HWND window) : window_(window) {
  if (window_) {
    hooked_ = SetWindowSubclass(window_, &BusyCursor::Hook, kHookId, 0) != FALSE;
  }
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

BusyCursor::~BusyCursor() {
  if (hooked_ && IsWindow(window_)) RemoveWindowSubclass(window_, &BusyCursor::Hook, kHookId);
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  RefreshCursor();
}

LRESULT CALLBACK BusyCursor::Hook(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR) {
  if (message == WM_SETCURSOR) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return TRUE;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &BusyCursor::Hook, kHookId);
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace lumenta::ui
