#include "image/preview_surface_win.h"

#include <cstring>

namespace lumenta::image {
namespace {

// A memory device context with one bitmap selected, both restored and released at the end.
class SelectedBitmap {
 public:
  SelectedBitmap(HDC compatibleWith, HBITMAP bitmap) : dc_(CreateCompatibleDC(compatibleWith)) {
    if (dc_) previous_ = SelectObject(dc_, bitmap);
  }
  ~SelectedBitmap() {
    if (!dc_) return;
    if (previous_) SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  SelectedBitmap(const SelectedBitmap&) = delete;
  SelectedBitmap& operator=(const SelectedBitmap&) = delete;
  HDC dc() const { return previous_ ? dc_ : nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace

std::unique_ptr<PreviewSurface> PreviewSurface::Create(const Preview& preview) {
  if (preview.pixels.empty()) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = preview.pixels.width();
  info.bmiHeader.biHeight = -preview.pixels.height();  // top-down, like the preview's rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  std::memcpy(bits, preview.pixels.data(), preview.pixels.stride() * preview.pixels.height());
  std::unique_ptr<PreviewSurface> surface(new PreviewSurface());
  surface->bitmap_ = bitmap;
  surface->x_ = preview.x;
  surface->y_ = preview.y;
  surface->width_ = preview.pixels.width();
  surface->height_ = preview.pixels.height();
  return surface;
}

PreviewSurface::~PreviewSurface() {
  if (bitmap_) DeleteObject(bitmap_);
}

void PreviewSurface::Paint(HDC dc, int left, int top) const {
  SelectedBitmap source(dc, bitmap_);
  if (!source.dc()) return;
  // The pixels are premultiplied, which is what AlphaBlend expects with AC_SRC_ALPHA.
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, left + x_, top + y_, width_, height_, source.dc(), 0, 0, width_, height_,
                blend);
}

}  // namespace lumenta::image
