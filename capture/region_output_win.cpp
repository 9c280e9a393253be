#include "capture/region_output_win.h"

#include <string>

namespace lumenta::capture {
namespace {

class OpenClipboardGuard {
 public:
  explicit OpenClipboardGuard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenClipboardGuard() {
    if (open_) CloseClipboard();
  }
  OpenClipboardGuard(const OpenClipboardGuard&) = delete;
  OpenClipboardGuard& operator=(const OpenClipboardGuard&) = delete;
  [[nodiscard]] bool open() const { return open_; }

 private:
  bool open_;
};

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : handle_(h) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  [[nodiscard]] HANDLE get() const { return handle_; }
  [[nodiscard]] bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const bool closed = !valid() || CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

std::wstring FolderOf(std::wstring_view path) {
  const auto slash = path.find_last_of(L"\\/");
  if (slash == std::wstring_view::npos) return L".";
  if (slash == 0 || (slash == 2 && path[1] == L':')) return std::wstring(path.substr(0, slash + 1));
  return std::wstring(path.substr(0, slash));
}

}  // namespace

bool PlaceBitmapOnClipboard(HWND owner, HBITMAP bitmap) {
  if (bitmap == nullptr) return false;
  {
    OpenClipboardGuard clipboard(owner);
    if (clipboard.open() && EmptyClipboard() && SetClipboardData(CF_BITMAP, bitmap) != nullptr) {
      return true;
    }
  }
  DeleteObject(bitmap);
  return false;
}

bool ReplaceFileContent(std::wstring_view path, std::string_view bytes) {
  if (path.empty()) return false;
  const std::wstring target(path);
  wchar_t temporary[MAX_PATH + 1] = {};
  if (GetTempFileNameW(FolderOf(path).c_str(), L"lmt", 0, temporary) == 0) return false;
  FileHandle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  bool written = file.valid() && WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
  written = file.Close() && written;
  if (written &&
      MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(temporary);
  return false;
}

}  // namespace lumenta::capture
