#pragma once
// Owning wrappers for the system's handles. Each releases its handle with the function that
// belongs to its kind when it goes out of scope, and no owning raw handle crosses a function
// boundary: functions that make a handle return one of these.
#include <windows.h>

#include <utility>

namespace lumenta::win {

// A handle of the kind `Traits` describes: its empty value, what counts as a handle, and how it
// is released.
template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  [[nodiscard]] Handle get() const { return handle_; }
  [[nodiscard]] bool valid() const { return Traits::IsValid(handle_); }
  explicit operator bool() const { return valid(); }
  // Gives the handle up without releasing it.
  [[nodiscard]] Handle release() { return std::exchange(handle_, Traits::Empty()); }
  void reset(Handle handle = Traits::Empty()) {
    if (valid()) Traits::Release(handle_);
    handle_ = handle;
  }
  // Releases the handle now; false when the system reported a failure (a file whose last
  // writes could not be flushed). An empty handle closes successfully.
  [[nodiscard]] bool Close() {
    const bool closed = !valid() || Traits::Release(handle_);
    handle_ = Traits::Empty();
    return closed;
  }

 private:
  Handle handle_ = Traits::Empty();
};

// Kernel objects (files, processes, threads, events, jobs). CreateFile answers
// INVALID_HANDLE_VALUE where other functions answer null: neither is a handle.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static HANDLE Empty() { return nullptr; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static bool Release(HANDLE h) { return CloseHandle(h) != FALSE; }
};
using KernelHandle = ScopedHandle<KernelHandleTraits>;

// Pens, brushes, fonts, bitmaps and regions, deleted with DeleteObject. An object still selected
// into a device context cannot be deleted: select it out first (SelectGuard).
template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static T Empty() { return nullptr; }
  static bool IsValid(T h) { return h != nullptr; }
  static bool Release(T h) { return DeleteObject(h) != FALSE; }
};
using Pen = ScopedHandle<GdiObjectTraits<HPEN>>;
using Brush = ScopedHandle<GdiObjectTraits<HBRUSH>>;
using Font = ScopedHandle<GdiObjectTraits<HFONT>>;
using Bitmap = ScopedHandle<GdiObjectTraits<HBITMAP>>;
using Region = ScopedHandle<GdiObjectTraits<HRGN>>;

// A device context made with CreateCompatibleDC or CreateDC, deleted with DeleteDC.
struct MemoryDcTraits {
  using Handle = HDC;
  static HDC Empty() { return nullptr; }
  static bool IsValid(HDC h) { return h != nullptr; }
  static bool Release(HDC h) { return DeleteDC(h) != FALSE; }
};
using MemoryDc = ScopedHandle<MemoryDcTraits>;

// An icon the program made (not a shared one), destroyed with DestroyIcon.
struct IconTraits {
  using Handle = HICON;
  static HICON Empty() { return nullptr; }
  static bool IsValid(HICON h) { return h != nullptr; }
  static bool Release(HICON h) { return DestroyIcon(h) != FALSE; }
};
using Icon = ScopedHandle<IconTraits>;

// A cursor the program made (not a shared system cursor), destroyed with DestroyCursor.
struct CursorTraits {
  using Handle = HCURSOR;
  static HCURSOR Empty() { return nullptr; }
  static bool IsValid(HCURSOR h) { return h != nullptr; }
  static bool Release(HCURSOR h) { return DestroyCursor(h) != FALSE; }
};
using Cursor = ScopedHandle<CursorTraits>;

}  // namespace lumenta::win
