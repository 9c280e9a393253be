// EncodeBitmapAsBmp against the real GDI of the test display.
#include <gtest/gtest.h>
#include <windows.h>

#include "image/bmp_encoding.h"
#include "image/bmp_encoding_win.h"
#include "tests/support/bmp_test_reader.h"

namespace lumenta::image {
namespace {

using bmpread::ReadBmp;
using bmpread::Rgb;

Rgb FromColourRef(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

// A bitmap compatible with the screen, painted pixel by pixel with a pattern.
class ScreenBitmap {
 public:
  ScreenBitmap(int width, int height) : width_(width), height_(height) {
    screen_ = GetDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(screen_, width, height);
    HDC dc = CreateCompatibleDC(screen_);
    HGDIOBJ previous = SelectObject(dc, bitmap_);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) SetPixel(dc, x, y, Colour(x, y));
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
  }
  ~ScreenBitmap() {
    DeleteObject(bitmap_);
    ReleaseDC(nullptr, screen_);
  }
  static COLORREF Colour(int x, int y) { return RGB(40 * x + 10, 60 * y + 5, 200 - 30 * x); }
  HDC screen() const { return screen_; }
  HBITMAP bitmap() const { return bitmap_; }

 private:
  int width_, height_;
  HDC screen_;
  HBITMAP bitmap_;
};

TEST(EncodeBitmapAsBmp, WritesTheHeaderFieldsAndRowsOfTheDisplayFormat) {
  for (const auto& [width, height] : {std::pair{3, 2}, std::pair{1, 1}, std::pair{5, 4}}) {
    SCOPED_TRACE(::testing::Message() << width << " x " << height);
    ScreenBitmap source(width, height);
    const ByteBuffer file = EncodeBitmapAsBmp(source.screen(), source.bitmap());
    const auto read = ReadBmp(file.view());
    ASSERT_TRUE(read.has_value());
    const int depth = GetDeviceCaps(source.screen(), BITSPIXEL);
    const std::uint64_t stride = BmpRowStride(width, static_cast<std::uint16_t>(depth));
    EXPECT_EQ(read->type, 19778);
    EXPECT_EQ(read->fileSize, file.size());
    EXPECT_EQ(read->reserved1, 0);
    EXPECT_EQ(read->reserved2, 0);
    EXPECT_EQ(read->pixelOffset, 58u);
    EXPECT_EQ(read->headerSize, 40u);
    EXPECT_EQ(read->format.width, width);
    EXPECT_EQ(read->format.height, height);
    EXPECT_EQ(read->format.planes, 1);
    EXPECT_EQ(read->format.bitCount, depth);
    EXPECT_EQ(read->format.compression, 0u);
    EXPECT_EQ(read->format.imageSize, stride * height);
    EXPECT_EQ(read->format.colourEntry, 0u);
    EXPECT_EQ(file.size(), 58 + stride * height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        EXPECT_EQ(read->At(x, y), FromColourRef(ScreenBitmap::Colour(x, y))) << x << "," << y;
      }
    }
  }
}

TEST(EncodeBitmapAsBmp, GivesNothingForSomethingThatIsNoBitmap) {
  HDC screen = GetDC(nullptr);
  EXPECT_TRUE(EncodeBitmapAsBmp(screen, nullptr).empty());
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_TRUE(EncodeBitmapAsBmp(screen, reinterpret_cast<HBITMAP>(brush)).empty());
  DeleteObject(brush);
  ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace lumenta::image
