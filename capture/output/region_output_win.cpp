#include "capture/output/region_output_win.h"

#include <string>

#include "win/clipboard_win.h"

namespace lumenta::capture {
namespace {

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

bool PlaceBitmapOnClipboard(HWND owner, win::Bitmap bitmap) {
  if (!bitmap) return false;
  const win::ClipboardSession clipboard(owner);
  if (clipboard.open() && EmptyClipboard() &&
      SetClipboardData(CF_BITMAP, bitmap.get()) != nullptr) {
    (void)bitmap.release();  // the clipboard's now
    return true;
  }
  return false;
}

bool ReplaceFileContent(std::wstring_view path, std::string_view bytes) {
  if (path.empty()) return false;
  const std::wstring target(path);
  wchar_t temporary[MAX_PATH + 1] = {};
  if (GetTempFileNameW(FolderOf(path).c_str(), L"lmt", 0, temporary) == 0) return false;
  win::KernelHandle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
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
