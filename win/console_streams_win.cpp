#include "win/console_streams_win.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace lumenta::console {
namespace {

bool Usable(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// A GUI program gets standard handles only when they were redirected or passed on by whatever
// started it; without them it borrows the console of its parent, or makes one.
HANDLE StreamHandle(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  if (Usable(handle)) return handle;
  static const bool hasConsole = AttachConsole(ATTACH_PARENT_PROCESS) ||
                                 GetLastError() == ERROR_ACCESS_DENIED ||
                                 AllocConsole();  // ERROR_ACCESS_DENIED: already attached to one
  if (!hasConsole) return nullptr;
  handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
  if (!Usable(handle)) return nullptr;
  SetStdHandle(which, handle);  // kept for the rest of the process, like an inherited handle
  return handle;
}

bool Write(DWORD which, std::string_view utf8) {
  if (utf8.empty()) return true;
  HANDLE handle = StreamHandle(which);
  if (!handle) return false;
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    const int units =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), units);
    size_t done = 0;
    while (done < text.size()) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 8192));
      if (!WriteConsoleW(handle, text.data() + done, chunk, &written, nullptr) || written == 0) {
        return false;
      }
      done += written;
    }
    return true;
  }
  size_t done = 0;
  while (done < utf8.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(utf8.size() - done, 1u << 20));
    if (!WriteFile(handle, utf8.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

}  // namespace

bool WriteStandardOutput(std::string_view utf8) { return Write(STD_OUTPUT_HANDLE, utf8); }
bool WriteStandardError(std::string_view utf8) { return Write(STD_ERROR_HANDLE, utf8); }

}  // namespace lumenta::console
