#pragma once
// Shared pieces of the application tests: the program's folder and files beside it, reading
// fonts and colours back from live controls.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/credentials_win.h"
#include "tests/ui/ui_test_support_win.h"
#include "win/wide_win.h"

namespace lumenta::testing {

// A Windows path for a path of the build machine (the Z: drive of Wine).
inline std::wstring WindowsPath(const std::string& unixPath) {
  std::wstring path = L"Z:";
  for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

using win::Wide;

// key.ini beside the test program: where the program's own lookup finds it.
inline std::wstring KeyFileBesideProgram() { return Wide(app::KeyFilePath()); }

inline void WriteFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

inline std::string ReadFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  CloseHandle(file);
  return bytes;
}

inline bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh folder under the temporary folder, removed with its files at scope end.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"lumenta-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter_);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TemporaryFolder() { Remove(path_); }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  static void Remove(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring full = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          Remove(full);
        } else {
          SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW(full.c_str());
        }
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
  }
  static inline int counter_ = 0;
  std::wstring path_;
};

// The font a control draws with.
inline LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  if (handle != nullptr) GetObjectW(handle, sizeof font, &font);
  return font;
}

// What a control's parent answers to its WM_CTLCOLOR* message: the text colour and background
// mode it sets and the brush it returns.
struct ControlColours {
  COLORREF text;
  COLORREF background;
  int backgroundMode;
  HBRUSH brush;
};

inline ControlColours ColoursOf(HWND control, UINT message) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkColor(dc, RGB(4, 5, 6));
  SetBkMode(dc, OPAQUE);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(control), message,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(control)));
  ControlColours colours{GetTextColor(dc), GetBkColor(dc), GetBkMode(dc), brush};
  DeleteDC(dc);
  return colours;
}

}  // namespace lumenta::testing
