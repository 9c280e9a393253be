#pragma once
// Owning wrappers for the GDI and GDI+ objects of the capture tool. Every object is released by
// the wrapper that acquired it, and an object selected into a device context is deselected
// before it is deleted (a selected object cannot be deleted and would leak).
#include <windows.h>

#include <memory>
#include <utility>

namespace lumenta::capture {

// A pen, brush, font, bitmap or region, deleted with DeleteObject.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle h) : handle_(h) {}
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  void Reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }
  [[nodiscard]] Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;
using Bitmap = GdiObject<HBITMAP>;

// Selects an object into a device context for the lifetime of the guard.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc ? SelectObject(dc, object) : nullptr) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (dc_ && previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A device context obtained with GetDC (nullptr window: the whole screen), released with
// ReleaseDC.
class WindowDc {
 public:
  WindowDc() = default;
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  [[nodiscard]] HDC get() const { return dc_; }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// A memory surface: a device context compatible with a reference, with a compatible bitmap of
// the given size selected into it. It owns the bitmap and releases it with itself.
class MemorySurface {
 public:
  MemorySurface() = default;
  MemorySurface(MemorySurface&& other) noexcept { *this = std::move(other); }
  MemorySurface& operator=(MemorySurface&& other) noexcept {
    if (this != &other) {
      Release();
      dc_ = std::exchange(other.dc_, nullptr);
      bitmap_ = std::exchange(other.bitmap_, nullptr);
      previous_ = std::exchange(other.previous_, nullptr);
      width_ = other.width_;
      height_ = other.height_;
    }
    return *this;
  }
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;
  ~MemorySurface() { Release(); }

  // No surface (dc() == nullptr) when the compatible device context cannot be created.
  [[nodiscard]] static MemorySurface Create(HDC reference, int width, int height) {
    MemorySurface s;
    s.dc_ = CreateCompatibleDC(reference);
    if (!s.dc_) return s;
    s.bitmap_ = CreateCompatibleBitmap(reference, width, height);
    if (s.bitmap_) s.previous_ = SelectObject(s.dc_, s.bitmap_);
    s.width_ = width;
    s.height_ = height;
    return s;
  }

  [[nodiscard]] HDC dc() const { return dc_; }
  [[nodiscard]] HBITMAP bitmap() const { return bitmap_; }
  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  void Release() {
    if (dc_ && previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    previous_ = nullptr;
  }

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

[[nodiscard]] inline MemorySurface CreateMemorySurface(HDC reference, int width, int height) {
  return MemorySurface::Create(reference, width, height);
}

// A cursor made by the program (not a shared system cursor), destroyed with DestroyCursor.
class OwnedCursor {
 public:
  OwnedCursor() = default;
  explicit OwnedCursor(HCURSOR c) : cursor_(c) {}
  OwnedCursor(OwnedCursor&& other) noexcept : cursor_(std::exchange(other.cursor_, nullptr)) {}
  OwnedCursor& operator=(OwnedCursor&& other) noexcept {
    if (this != &other) {
      Reset();
      cursor_ = std::exchange(other.cursor_, nullptr);
    }
    return *this;
  }
  OwnedCursor(const OwnedCursor&) = delete;
  OwnedCursor& operator=(const OwnedCursor&) = delete;
  ~OwnedCursor() { Reset(); }
  void Reset() {
    if (cursor_) DestroyCursor(cursor_);
    cursor_ = nullptr;
  }
  [[nodiscard]] HCURSOR get() const { return cursor_; }

 private:
  HCURSOR cursor_ = nullptr;
};

}  // namespace lumenta::capture
