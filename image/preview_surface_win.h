#pragma once
// A preview ready for painting: its pixels in a GDI bitmap made once per picture, so that a
// repaint only blends that bitmap onto the window and never decodes or converts again.
#include <windows.h>

#include <memory>

#include "image/preview.h"

namespace lumenta::image {

class PreviewSurface {
 public:
  // A surface for `preview` (premultiplied BGRA and its place in the box); nullptr when the
  // preview is empty or GDI cannot make the bitmap.
  [[nodiscard]] static std::unique_ptr<PreviewSurface> Create(const Preview& preview);
  ~PreviewSurface();
  PreviewSurface(const PreviewSurface&) = delete;
  PreviewSurface& operator=(const PreviewSurface&) = delete;

  // Blends the picture over what `dc` shows, with the box's top-left corner at (left, top).
  // Transparent parts let the box's background through.
  void Paint(HDC dc, int left, int top) const;

  int x() const { return x_; }
  int y() const { return y_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  PreviewSurface() = default;
  HBITMAP bitmap_ = nullptr;
  int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
};

}  // namespace lumenta::image
