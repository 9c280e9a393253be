// Bitmaps put on the real clipboard come back as BMP file images, byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "image/bmp_decoder.h"
#include "image/clipboard_bitmap_win.h"
#include "tests/support/picture_fixtures.h"

namespace lumenta::image {
namespace {

using testing::Bytes;

Bytes Le(std::uint32_t v, int bytes) {
  Bytes out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * i));
  return out;
}

// The file image the rules give for a bottom-up BI_RGB bitmap.
Bytes ExpectedFile(int width, int height, int bits, const Bytes& table, const Bytes& rows) {
  const std::uint32_t offset = 54 + static_cast<std::uint32_t>(table.size());
  return "BM" + Le(offset + static_cast<std::uint32_t>(rows.size()), 4) + Le(0, 4) + Le(offset, 4) +
         Le(40, 4) + Le(width, 4) + Le(height, 4) + Le(1, 2) + Le(bits, 2) + Le(0, 4) +
         Le(static_cast<std::uint32_t>(rows.size()), 4) + Le(0, 16) + table + rows;
}

class ClipboardBitmap : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExW(0, L"STATIC", L"clipboard owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }

  // Puts `bitmap` on the clipboard, which takes it over.
  void Place(HBITMAP bitmap) {
    ASSERT_TRUE(OpenClipboard(window_));
    EmptyClipboard();
    ASSERT_NE(SetClipboardData(CF_BITMAP, bitmap), nullptr);
    CloseClipboard();
  }

  // A bottom-up DIB section of the given depth holding `rows` (stored order) and `table`.
  HBITMAP Section(int width, int height, int bits, const Bytes& table, const Bytes& rows) {
    std::vector<unsigned char> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = static_cast<WORD>(bits);
    h->biCompression = BI_RGB;
    std::copy(table.begin(), table.end(), info.begin() + sizeof(BITMAPINFOHEADER));
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                      DIB_RGB_COLORS, &memory, nullptr, 0);
    EXPECT_NE(bitmap, nullptr);
    if (bitmap) std::copy(rows.begin(), rows.end(), static_cast<char*>(memory));
    return bitmap;
  }

  HWND window_ = nullptr;
};

TEST_F(ClipboardBitmap, ComesBackAsTheBmpFileImageOfItsDepth) {
  Bytes palette;
  for (int i = 0; i < 256; ++i) palette += Bytes{char(i), char(i ^ 0x55), char(255 - i), 0};
  struct Case {
    const char* name;
    int bits;
    Bytes table;
    Bytes rows;  // 3 x 2, stored bottom row first, each padded to four bytes
  } cases[] = {
      {"24 bits", 24, "",
       Bytes("\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00\x00\x00\x00"
             "\x10\x20\x30\x40\x50\x60\x70\x80\x90\x00\x00\x00",
             24)},
      {"32 bits", 32, "",
       Bytes("\x00\x00\xFF\x00\x00\xFF\x00\x00\xFF\x00\x00\x00"
             "\x10\x20\x30\x00\x40\x50\x60\x00\x70\x80\x90\x00",
             24)},
      {"8-bit palette", 8, palette, Bytes("\x01\x02\xFE\x00\x80\x00\x7F\x00", 8)},
  };
  for (const auto& c : cases) {
    Place(Section(3, 2, c.bits, c.table, c.rows));
    const auto file = ClipboardBitmapToBmpFile(window_);
    ASSERT_TRUE(file) << c.name;
    EXPECT_EQ(*file, ExpectedFile(3, 2, c.bits, c.table, c.rows)) << c.name;
  }
}

TEST_F(ClipboardBitmap, AScreenBitmapKeepsItsColours) {
  // What the capture tool leaves on the clipboard: a bitmap compatible with the screen.
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 1);
  ReleaseDC(nullptr, screen);
  ASSERT_NE(bitmap, nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 2;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  const std::uint32_t pixels[2] = {0x00FF8000, 0x000080FF};
  HDC dc = GetDC(nullptr);
  SetDIBits(dc, bitmap, 0, 1, pixels, &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  Place(bitmap);
  const auto file = ClipboardBitmapToBmpFile(window_);
  ASSERT_TRUE(file);
  EXPECT_EQ(testing::Describe(DecodeBmp(file->view())),
            testing::Describe(2, 1, {0xFFFF8000, 0xFF0080FF}));
}

TEST_F(ClipboardBitmap, AClipboardWithoutABitmapGivesNothing) {
  ASSERT_TRUE(OpenClipboard(window_));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_FALSE(ClipboardBitmapToBmpFile(window_));

  ASSERT_TRUE(OpenClipboard(window_));
  EmptyClipboard();
  HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 6);
  std::memcpy(GlobalLock(text), "hello", 6);
  GlobalUnlock(text);
  SetClipboardData(CF_TEXT, text);
  CloseClipboard();
  EXPECT_FALSE(ClipboardBitmapToBmpFile(window_));
}

TEST_F(ClipboardBitmap, OnlyBitmapsConvert) {
  EXPECT_FALSE(BitmapToBmpFile(nullptr));
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  EXPECT_FALSE(BitmapToBmpFile(reinterpret_cast<HBITMAP>(pen)));
  DeleteObject(pen);
}

}  // namespace
}  // namespace lumenta::image
