// EncodeBitmapAsBmp and the stored pictures against the real GDI of the test display.
#include "capture/bmp_encoding_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "capture/bmp_encoding.h"
#include "capture/toolbar_images.h"
#include "tests/capture/bmp_test_reader.h"

namespace lumenta::capture {
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
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    ScreenBitmap source(width, height);
    const ByteBuffer file = EncodeBitmapAsBmp(source.screen(), source.bitmap());
    const auto read = ReadBmp(file);
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

TEST(BitmapFromBmpFile, MakesTheStoredToolbarPictureADisplayBitmap) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = BitmapFromBmpFile(screen, ToolbarImageFile());
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  ASSERT_NE(GetObjectW(bitmap, sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 292);
  EXPECT_EQ(info.bmHeight, 26);
  const auto stored = ReadBmp(ToolbarImageFile());
  ASSERT_TRUE(stored.has_value());
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{3, 3}, std::pair{216, 13},
                             std::pair{244, 13}, std::pair{18, 7}, std::pair{291, 25}}) {
    EXPECT_EQ(FromColourRef(GetPixel(dc, x, y)), stored->At(x, y)) << x << "," << y;
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(bitmap);
  ReleaseDC(nullptr, screen);
}

TEST(BitmapFromBmpFile, RefusesBytesThatAreNoCompleteBmpFile) {
  HDC screen = GetDC(nullptr);
  const std::string_view whole = ToolbarImageFile();
  std::string noMagic(whole);
  noMagic[0] = 'X';
  std::string badDepth(whole);
  badDepth[28] = 7;
  const std::string_view cases[] = {"",
                                    "BM",
                                    whole.substr(0, 40),
                                    whole.substr(0, 200),
                                    whole.substr(0, whole.size() - 1),
                                    noMagic,
                                    badDepth};
  for (const auto bytes : cases) {
    HBITMAP bitmap = BitmapFromBmpFile(screen, bytes);
    EXPECT_EQ(bitmap, nullptr) << bytes.size() << " bytes";
    if (bitmap) DeleteObject(bitmap);
  }
  ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace lumenta::capture
