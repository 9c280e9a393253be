#pragma once
// Owning wrappers for the GDI objects the toolbar, the text-size list and the canvas create.
// GDI+ needs the Windows and COM declarations first.
// clang-format off
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <utility>

namespace lumenta::capture::gdi {

// A pen, brush, font or bitmap, deleted with DeleteObject.
template <typename Handle>
class Object {
 public:
  Object() = default;
  explicit Object(Handle h) : handle_(h) {}
  Object(Object&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Object& operator=(Object&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  ~Object() { Reset(); }
  void Reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }
  [[nodiscard]] Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

using Pen = Object<HPEN>;
using Brush = Object<HBRUSH>;
using Font = Object<HFONT>;
using Bitmap = Object<HBITMAP>;

// Selects an object into a device context for the guard's lifetime.
class Select {
 public:
  Select(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc ? SelectObject(dc, object) : nullptr) {}
  Select(const Select&) = delete;
  Select& operator=(const Select&) = delete;
  ~Select() {
    if (dc_ && previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A memory device context with a bitmap selected into it, both released with the surface: a
// new compatible bitmap of a size, or a given bitmap the surface takes over.
class Surface {
 public:
  Surface() = default;
  Surface(Surface&& other) noexcept { *this = std::move(other); }
  Surface& operator=(Surface&& other) noexcept {
    if (this != &other) {
      Release();
      dc_ = std::exchange(other.dc_, nullptr);
      bitmap_ = std::exchange(other.bitmap_, nullptr);
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface() { Release(); }

  // No surface (dc() == nullptr) when the device context cannot be created.
  [[nodiscard]] static Surface Compatible(HDC reference, int width, int height) {
    return Holding(reference, CreateCompatibleBitmap(reference, width, height));
  }
  [[nodiscard]] static Surface Holding(HDC reference, HBITMAP bitmap) {
    Surface s;
    s.dc_ = CreateCompatibleDC(reference);
    s.bitmap_ = bitmap;
    if (!s.dc_) {
      s.Release();
      return s;
    }
    if (s.bitmap_) s.previous_ = SelectObject(s.dc_, s.bitmap_);
    return s;
  }

  [[nodiscard]] HDC dc() const { return dc_; }
  [[nodiscard]] HBITMAP bitmap() const { return bitmap_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void Reset() { Release(); }

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
};

[[nodiscard]] inline Gdiplus::Color Opaque(COLORREF c) {
  return Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace lumenta::capture::gdi
