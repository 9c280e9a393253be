#include "tests/soak/program_windows_win.h"

#include <thread>

namespace lumenta::soak {

namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[128] = L"";
  GetClassNameW(window, name, 128);
  return name;
}

}  // namespace

std::vector<HWND> TopWindows(DWORD processId, const std::wstring& className) {
  struct Search {
    DWORD processId;
    const std::wstring* className;
    std::vector<HWND> found;
  } search{processId, &className, {}};
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.processId && IsWindowVisible(window) &&
            (s.className->empty() || ClassOf(window) == *s.className)) {
          s.found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindDescendant(HWND parent, const std::wstring& className, const std::wstring& caption,
                    LONG style) {
  struct Search {
    const std::wstring* className;
    const std::wstring* caption;
    LONG style;
    HWND found;
  } search{&className, &caption, style, nullptr};
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM context) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(context);
        if (_wcsicmp(ClassOf(window).c_str(), s.className->c_str()) != 0) return TRUE;
        if ((GetWindowLongW(window, GWL_STYLE) & s.style) != s.style) return TRUE;
        if (!s.caption->empty() && TextOf(window) != *s.caption) return TRUE;
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    return L"";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 5000, &copied)) {
    return L"";
  }
  text.resize(copied);
  return text;
}

bool SendWithin(HWND window, UINT message, WPARAM w, LPARAM l) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, message, w, l, SMTO_NORMAL, 10000, &result) != 0;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::wstring CloseDialogs(DWORD processId) {
  std::wstring said;
  for (HWND dialog : TopWindows(processId, L"#32770")) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (ClassOf(child) == L"Static") {
        const std::wstring text = TextOf(child);
        if (!text.empty()) said += (said.empty() ? L"" : L" ") + text;
      }
    }
    if (said.empty()) said = L"(a dialog without text)";
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  }
  return said;
}

}  // namespace lumenta::soak
