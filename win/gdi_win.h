#pragma once
// Scoped use of device contexts: an object selected for a while, a window's device context, and
// a memory surface (a device context with a bitmap of its own selected into it).
#include <windows.h>

#include <utility>

#include "win/scoped_handle_win.h"

namespace lumenta::win {

// Selects an object into a device context and selects the previous one back at scope end.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~SelectGuard() {
    if (dc_ != nullptr && previous_ != nullptr && previous_ != HGDI_ERROR) {
      SelectObject(dc_, previous_);
    }
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A window's device context from GetDC (a null window: the whole screen), released with
// ReleaseDC.
class WindowDc {
 public:
  WindowDc() = default;
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  [[nodiscard]] HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// The header of a 32-bit top-down DIB of the given size: rows of width * 4 bytes without
// padding, top row first, no colour table.
inline BITMAPINFO TopDownDibInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A memory surface: a device context compatible with a reference, with a compatible bitmap (or a
// DIB section) of the given size selected into it. It owns both and releases the bitmap after
// selecting it out.
class MemorySurface {
 public:
  MemorySurface() = default;
  MemorySurface(MemorySurface&& other) noexcept { *this = std::move(other); }
  MemorySurface& operator=(MemorySurface&& other) noexcept {
    if (this != &other) {
      Release();
      dc_ = std::move(other.dc_);
      bitmap_ = std::move(other.bitmap_);
      previous_ = std::exchange(other.previous_, nullptr);
      bits_ = std::exchange(other.bits_, nullptr);
      width_ = std::exchange(other.width_, 0);
      height_ = std::exchange(other.height_, 0);
    }
    return *this;
  }
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;
  ~MemorySurface() { Release(); }

  // No surface (dc() == nullptr) when the compatible device context cannot be made; a surface
  // without a bitmap (bitmap() == nullptr) when the bitmap cannot.
  [[nodiscard]] static MemorySurface Create(HDC reference, int width, int height) {
    MemorySurface surface;
    surface.dc_.reset(CreateCompatibleDC(reference));
    if (!surface.dc_) return surface;
    surface.bitmap_.reset(CreateCompatibleBitmap(reference, width, height));
    if (surface.bitmap_) surface.previous_ = SelectObject(surface.dc_.get(), surface.bitmap_.get());
    surface.width_ = width;
    surface.height_ = height;
    return surface;
  }

  // No surface (dc() == nullptr) when the device context cannot be made, and none either when
  // the bitmap cannot: a 32-bit top-down DIB section of the given size, whose pixels (0x00RRGGBB
  // and a fourth byte, row after row without padding) the program reads and writes directly,
  // after a GdiFlush.
  [[nodiscard]] static MemorySurface CreateDib(HDC reference, int width, int height) {
    MemorySurface surface;
    if (width <= 0 || height <= 0) return surface;
    surface.dc_.reset(CreateCompatibleDC(reference));
    if (!surface.dc_) return surface;
    BITMAPINFO info = TopDownDibInfo(width, height);
    void* bits = nullptr;
    surface.bitmap_.reset(CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!surface.bitmap_ || bits == nullptr) return MemorySurface();
    surface.previous_ = SelectObject(surface.dc_.get(), surface.bitmap_.get());
    surface.bits_ = static_cast<unsigned char*>(bits);
    surface.width_ = width;
    surface.height_ = height;
    return surface;
  }

  [[nodiscard]] HDC dc() const { return dc_.get(); }
  [[nodiscard]] HBITMAP bitmap() const { return bitmap_.get(); }
  // The pixels of a surface made by CreateDib (nullptr otherwise).
  [[nodiscard]] unsigned char* bits() const { return bits_; }
  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }
  explicit operator bool() const { return static_cast<bool>(dc_); }

 private:
  void Release() {
    if (dc_ && previous_ != nullptr) SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
    bits_ = nullptr;
    bitmap_.reset();
    dc_.reset();
  }

  MemoryDc dc_;
  Bitmap bitmap_;
  HGDIOBJ previous_ = nullptr;
  unsigned char* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

[[nodiscard]] inline MemorySurface CreateMemorySurface(HDC reference, int width, int height) {
  return MemorySurface::Create(reference, width, height);
}

}  // namespace lumenta::win
