// Painting a preview with GDI: at its place in the box, blended over the background.
#include <gtest/gtest.h>

#include <cstdint>

#include "image/preview_surface_win.h"

namespace lumenta::image {
namespace {

// A white 40 x 30 canvas in a memory device context, read back pixel by pixel.
class Canvas {
 public:
  Canvas() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                               nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < kWidth * kHeight; ++i) bits_[i] = 0x00FFFFFF;
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  std::uint32_t At(int x, int y) const {
    GdiFlush();
    return bits_[y * kWidth + x] & 0x00FFFFFF;
  }

  static constexpr int kWidth = 40;
  static constexpr int kHeight = 30;

 private:
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

Preview TwoPixels(int x, int y) {
  Preview preview;
  preview.pixels = Image::Create(2, 1);
  preview.pixels.SetPixel(0, 0, 0xFFFF0000);  // opaque red
  preview.pixels.SetPixel(1, 0, 0x80000080);  // half-transparent blue, premultiplied
  preview.x = x;
  preview.y = y;
  return preview;
}

TEST(PreviewSurface, PaintsAtItsPlaceInTheBoxBlendedOverTheBackground) {
  Canvas canvas;
  const auto surface = PreviewSurface::Create(TwoPixels(3, 4));
  ASSERT_NE(surface, nullptr);
  surface->Paint(canvas.dc(), 10, 5);  // the box's corner at (10, 5): the picture at (13, 9)
  EXPECT_EQ(canvas.At(13, 9), 0xFF0000u);
  const std::uint32_t blended = canvas.At(14, 9);
  EXPECT_NEAR(static_cast<int>(blended >> 16), 0x7F, 2);   // red: half of white
  EXPECT_NEAR(static_cast<int>(blended & 0xFF), 0xFF, 2);  // blue: full
  EXPECT_EQ(canvas.At(12, 9), 0xFFFFFFu);
  EXPECT_EQ(canvas.At(15, 9), 0xFFFFFFu);
  EXPECT_EQ(canvas.At(13, 8), 0xFFFFFFu);
}

TEST(PreviewSurface, PaintsAsOftenAsAskedAtAnyOrigin) {
  Canvas canvas;
  const auto surface = PreviewSurface::Create(TwoPixels(0, 0));
  ASSERT_NE(surface, nullptr);
  surface->Paint(canvas.dc(), 0, 0);
  surface->Paint(canvas.dc(), 20, 20);
  EXPECT_EQ(canvas.At(0, 0), 0xFF0000u);
  EXPECT_EQ(canvas.At(20, 20), 0xFF0000u);
}

TEST(PreviewSurface, AnEmptyPreviewHasNoSurface) {
  EXPECT_EQ(PreviewSurface::Create(Preview{}), nullptr);
}

}  // namespace
}  // namespace lumenta::image
