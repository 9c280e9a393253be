// The toolbar's stored pictures made into bitmaps of the test display, and the refusal of bytes
// that are no complete BMP file.
#include <gtest/gtest.h>
#include <windows.h>

#include "capture/toolbar/toolbar_images.h"
#include "image/bmp_encoding_win.h"
#include "tests/support/bmp_test_reader.h"

namespace lumenta::capture {
namespace {

using image::bmpread::ReadBmp;
using image::bmpread::Rgb;

Rgb FromColourRef(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

TEST(BitmapFromBmpFile, MakesTheStoredToolbarPictureADisplayBitmap) {
  HDC screen = GetDC(nullptr);
  const win::Bitmap bitmap = image::BitmapFromBmpFile(screen, ToolbarImageFile());
  ASSERT_TRUE(bitmap);
  BITMAP info{};
  ASSERT_NE(GetObjectW(bitmap.get(), sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 292);
  EXPECT_EQ(info.bmHeight, 26);
  const auto stored = ReadBmp(ToolbarImageFile());
  ASSERT_TRUE(stored.has_value());
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(dc, bitmap.get());
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{3, 3}, std::pair{216, 13},
                             std::pair{244, 13}, std::pair{18, 7}, std::pair{291, 25}}) {
    EXPECT_EQ(FromColourRef(GetPixel(dc, x, y)), stored->At(x, y)) << x << "," << y;
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
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
    const win::Bitmap bitmap = image::BitmapFromBmpFile(screen, bytes);
    EXPECT_FALSE(bitmap) << bytes.size() << " bytes";
  }
  ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace lumenta::capture
