#pragma once
// The busy (hourglass) cursor over a window and its controls while a long operation runs on the
// user-interface thread. The operation lets window messages through (ProcessPendingEvents), and
// every WM_SETCURSOR would put the arrow back: for its lifetime this object answers them for the
// window with the wait cursor. Controls ask their parent first (DefWindowProc), so one hook on
// the top-level window covers them all.
#include <windows.h>

namespace lumenta::ui {

class BusyCursor {
 public:
  explicit BusyCursor(HWND window);
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  static LRESULT CALLBACK Hook(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  HWND window_;
  bool hooked_ = false;
};

}  // namespace lumenta::ui
