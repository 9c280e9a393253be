#include "app/result_clipboard_win.h"

#include <cstring>
#include <string>

#include "base/text.h"
#include "base/text_encoders.h"

namespace lumenta::app {
namespace {

// Closes the clipboard on every path once it has been opened.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

// Places `size` bytes (which include the terminating zero) in the given format. The clipboard
// owns the memory once SetClipboardData succeeds; until then it is ours to free.
bool Place(UINT format, const void* bytes, size_t size) {
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

}  // namespace

bool CopyTextToClipboard(HWND owner, std::string_view gbk) {
  const std::string text(AsText(gbk));
  const std::u16string wide = TextToUtf16(text);
  OpenClipboardScope clipboard(owner);
  if (!clipboard.open()) return false;
  EmptyClipboard();
  const bool ansi = Place(CF_TEXT, text.c_str(), text.size() + 1);
  const bool unicode = Place(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
  return ansi && unicode;
}

}  // namespace lumenta::app
