// The toolbar's panel and the text-size list drawn with the real GDI and GDI+ of the test
// display, read back pixel by pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "capture/model/font_size_list_model.h"
#include "capture/toolbar/font_size_list_painter_win.h"
#include "capture/toolbar/toolbar_painter_win.h"
#include "capture/toolbar/toolbar_style.h"

namespace lumenta::capture {
namespace {

// True when every channel of `c` lies between those of `a` and `b` (a gradient's pixel).
bool Between(COLORREF c, COLORREF a, COLORREF b) {
  auto within = [](int v, int x, int y) { return v >= std::min(x, y) && v <= std::max(x, y); };
  return within(GetRValue(c), GetRValue(a), GetRValue(b)) &&
         within(GetGValue(c), GetGValue(a), GetGValue(b)) &&
         within(GetBValue(c), GetBValue(a), GetBValue(b));
}

// Ink on the white text-size box (text may be drawn smoothed, in greys).
bool Inked(COLORREF c) { return GetRValue(c) < 200 && GetGValue(c) < 200 && GetBValue(c) < 200; }

class GdiDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
    screen_ = GetDC(nullptr);
    font_ = CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 32,
                        L"\x5B8B\x4F53");
    framePen_ = CreatePen(PS_SOLID, 1, kSelectionFrameColour);
    target_ = win::CreateMemorySurface(screen_, 400, 300);
    RECT all{0, 0, 400, 300};
    FillRect(target_.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  void TearDown() override {
    target_ = win::MemorySurface();
    DeleteObject(framePen_);
    DeleteObject(font_);
    ReleaseDC(nullptr, screen_);
    Gdiplus::GdiplusShutdown(token_);
  }
  ULONG_PTR token_ = 0;
  HDC screen_ = nullptr;
  HFONT font_ = nullptr;
  HPEN framePen_ = nullptr;
  win::MemorySurface target_;
};

TEST_F(GdiDrawing, ThePanelOfTheShapeToolsShowsDotsDividerColourBoxAndPalette) {
  ToolbarPainter painter;
  painter.Init(screen_);
  painter.ShowPanel(kPanelWidthWide);
  painter.DrawSizeButtons();
  painter.OutlineSizeButton(1);
  painter.DrawPalette(kPaletteXWide, kPaletteRed);
  painter.CopyToolbar(target_.dc(), {10, 20});
  painter.CopyPanel(target_.dc(), {10, 20}, kPanelWidthWide);
  HDC dc = target_.dc();
  const int px = 10, py = 20 + kPanelOffsetY;
  EXPECT_EQ(GetPixel(dc, px, py), kPanelBorderColour);
  EXPECT_EQ(GetPixel(dc, px + 247, py + 36), kPanelBorderColour);
  EXPECT_EQ(GetPixel(dc, px + 248, py + 10), RGB(0, 0, 0));  // nothing beyond the panel
  EXPECT_EQ(GetPixel(dc, px + 100, py + 34), kPanelColour);
  EXPECT_EQ(GetPixel(dc, px + 67, py + 18), kDotColour);     // the largest dot
  EXPECT_EQ(GetPixel(dc, px + 8, py + 15), kOutlineColour);  // the chosen width's outline
  EXPECT_EQ(GetPixel(dc, px + 30, py + 15), kPanelColour);   // no outline on the others
  EXPECT_EQ(GetPixel(dc, px + 89 + 14, py + 18), kPaletteColours[kPaletteRed]);  // colour box
  for (int n = 0; n < kPaletteSize; ++n) {
    const Zone s = PaletteSwatch(n, kPaletteXWide);
    EXPECT_EQ(GetPixel(dc, px + (s.left + s.right) / 2, py + (s.top + s.bottom) / 2),
              kPaletteColours[n])
        << "swatch " << n;
    EXPECT_EQ(GetPixel(dc, px + s.left, py + s.top), kSwatchPenColour) << "swatch " << n;
  }
  // The toolbar picture above the panel.
  EXPECT_EQ(GetPixel(dc, 10 + 3, 20 + 3), kPanelColour);

  // A new width choice moves the outline.
  painter.EraseSizeButtonOutline(1);
  painter.OutlineSizeButton(3);
  painter.CopyPanel(dc, {10, 20}, kPanelWidthWide);
  EXPECT_EQ(GetPixel(dc, px + 8, py + 15), kPanelColour);
  EXPECT_EQ(GetPixel(dc, px + 57, py + 15), kOutlineColour);
  painter.Close();
}

TEST_F(GdiDrawing, TheTextToolPanelShowsTheTextSizeBoxWithItsTriangle) {
  ToolbarPainter painter;
  painter.Init(screen_);
  painter.ShowPanel(kPanelWidthWide);
  painter.DrawTextSizeBox(12, font_);
  painter.DrawPalette(kPaletteXWide, 3);
  HDC panel = painter.panelDc();
  EXPECT_EQ(GetPixel(panel, 67, 17), kTriangleColour);
  EXPECT_EQ(GetPixel(panel, 60, 25), RGB(255, 255, 255));
  EXPECT_TRUE(Between(GetPixel(panel, 31, 9), kBoxGradientTop, kBoxGradientBottom));
  EXPECT_TRUE(Between(GetPixel(panel, 76, 27), kBoxGradientTop, kBoxGradientBottom));
  int inked = 0;  // the digits "12"
  for (int y = 12; y < 26; ++y) {
    for (int x = 36; x < 56; ++x) inked += Inked(GetPixel(panel, x, y)) ? 1 : 0;
  }
  EXPECT_GT(inked, 8);
  EXPECT_EQ(GetPixel(panel, 89 + 14, 18), kPaletteColours[3]);
  painter.Close();
}

TEST_F(GdiDrawing, AToolOutlineInTheToolbarIsErasedWithoutTrace) {
  ToolbarPainter painter;
  painter.Init(screen_);
  HDC toolbar = painter.toolbarDc();
  std::vector<COLORREF> before;
  for (int x = 0; x < kToolbarWidth; ++x) {
    for (int y = 0; y < kToolbarHeight; ++y) before.push_back(GetPixel(toolbar, x, y));
  }
  painter.OutlineTool(3);
  EXPECT_EQ(GetPixel(toolbar, 57, 12), kOutlineColour);
  EXPECT_EQ(GetPixel(toolbar, 70, 3), kOutlineColour);
  painter.EraseToolOutline(3);
  std::size_t i = 0;
  for (int x = 0; x < kToolbarWidth; ++x) {
    for (int y = 0; y < kToolbarHeight; ++y) ASSERT_EQ(GetPixel(toolbar, x, y), before[i++]);
  }
  painter.Close();
}

TEST_F(GdiDrawing, TheTextSizeListShowsTheScrolledStripAndTheThumb) {
  FontSizeListPainter list;
  list.Init(screen_, framePen_, font_);
  list.Show(target_.dc(), {100, 50}, 0, kFontSizeDefaultEntry, font_);
  HDC dc = target_.dc();
  EXPECT_EQ(GetPixel(dc, 100, 50), kSelectionFrameColour);
  EXPECT_EQ(GetPixel(dc, 148, 173), kSelectionFrameColour);
  EXPECT_EQ(GetPixel(dc, 149, 100), RGB(0, 0, 0));  // nothing beyond the frame
  // Entry 5 (rows 80..99 of the strip) is lit; entry 4 is not.
  EXPECT_TRUE(
      Between(GetPixel(dc, 100 + 2 + 1, 50 + 2 + 81), kListSelectedTop, kListSelectedBottom));
  EXPECT_EQ(GetPixel(dc, 100 + 2 + 28, 50 + 2 + 70), RGB(255, 255, 255));
  // The thumb (rows 15..79 of the scroll bar at scroll 0) and the track below it.
  const COLORREF thumb = GetPixel(dc, 100 + 31 + 7, 50 + 2 + 40);
  EXPECT_NE(thumb, kListTrackColour);
  EXPECT_EQ(GetPixel(dc, 100 + 31 + 7, 50 + 2 + 95), kListTrackColour);

  // Scrolled to the end, the strip's window starts at row 59 and the thumb has moved down.
  list.ClearEntry(kFontSizeDefaultEntry, font_);
  list.Show(dc, {100, 50}, 25, 9, font_);
  EXPECT_TRUE(Between(GetPixel(dc, 100 + 2 + 1, 50 + 2 + (160 - 59) + 1), kListSelectedTop,
                      kListSelectedBottom));
  EXPECT_EQ(GetPixel(dc, 100 + 2 + 28, 50 + 2 + (85 - 59)),
            RGB(255, 255, 255));  // entry 5 again white
  EXPECT_EQ(GetPixel(dc, 100 + 31 + 7, 50 + 2 + 20), kListTrackColour);
  EXPECT_NE(GetPixel(dc, 100 + 31 + 7, 50 + 2 + 95), kListTrackColour);
  list.Close();
}

}  // namespace
}  // namespace lumenta::capture
