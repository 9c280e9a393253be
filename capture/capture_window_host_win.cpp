#include "capture/capture_window_host_win.h"

#include <vector>

namespace lumenta::capture {
namespace {

constexpr wchar_t kClassName[] = L"LumentaCaptureWindow";

bool RegisterCaptureClass() {
  static const bool registered = [] {
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.style = CS_DBLCLKS;
    c.lpfnWndProc = DefWindowProcW;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    c.lpszClassName = kClassName;
    return RegisterClassExW(&c) != 0;
  }();
  return registered;
}

struct DisabledWindows {
  HWND keep;
  std::vector<HWND> windows;
};

BOOL CALLBACK DisableOthers(HWND window, LPARAM data) {
  auto* d = reinterpret_cast<DisabledWindows*>(data);
  if (window != d->keep && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    d->windows.push_back(window);
  }
  return TRUE;
}

}  // namespace

CaptureWindowHandles CreateCaptureWindow() {
  CaptureWindowHandles h;
  if (!RegisterCaptureClass()) return h;
  h.window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_APPWINDOW, kClassName, L"", WS_POPUP, 0, 0, 380,
                             250, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!h.window) return h;
  h.textBox = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 72, 96, 48,
                              16, h.window, nullptr, GetModuleHandleW(nullptr), nullptr);
  return h;
}

void RunModal(HWND window, HWND owner) {
  DisabledWindows disabled{window, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOthers, reinterpret_cast<LPARAM>(&disabled));
  MSG message;
  while (IsWindow(window)) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got == -1) break;
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
        (message.hwnd == window || IsChild(window, message.hwnd))) {
      DestroyWindow(window);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (IsWindow(window)) DestroyWindow(window);
  for (HWND w : disabled.windows) {
    if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
}

}  // namespace lumenta::capture
