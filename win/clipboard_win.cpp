#include "win/clipboard_win.h"

#include <cstring>

namespace lumenta::win {
namespace {

constexpr int kAttempts = 5;
constexpr DWORD kPauseMilliseconds = 20;

}  // namespace

ClipboardSession::ClipboardSession(HWND owner) {
  for (int attempt = 0; attempt < kAttempts && !open_; ++attempt) {
    if (attempt > 0) Sleep(kPauseMilliseconds);
    open_ = OpenClipboard(owner) != FALSE;
  }
}

ClipboardSession::~ClipboardSession() {
  if (open_) CloseClipboard();
}

bool ClipboardSession::Place(UINT format, const void* bytes, size_t size) {
  if (!open_) return false;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!memory) return false;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(target, bytes, size);
  GlobalUnlock(memory);
  if (!SetClipboardData(format, memory)) {
    GlobalFree(memory);
    return false;
  }
  return true;
}

}  // namespace lumenta::win
