#pragma once
// The clipboard, open for the lifetime of a session. Another program may hold it for a moment
// (a clipboard viewer reading what was just put there), so opening is tried a few times, a short
// while apart, by readers and writers alike.
#include <windows.h>

namespace lumenta::win {

class ClipboardSession {
 public:
  // Opens the clipboard for `owner` (null: the task); open() says whether it worked.
  explicit ClipboardSession(HWND owner);
  ~ClipboardSession();
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;

  [[nodiscard]] bool open() const { return open_; }

  // Places a copy of `size` bytes in `format` (for texts the size includes the terminating
  // zero). The clipboard owns the memory once it takes it; false when it did not.
  [[nodiscard]] bool Place(UINT format, const void* bytes, size_t size);

 private:
  bool open_ = false;
};

}  // namespace lumenta::win
