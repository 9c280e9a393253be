#include "capture/toolbar/font_size_list_painter_win.h"

#include <string>

#include "capture/model/capture_parts.h"
#include "capture/model/font_size_list_model.h"
#include "capture/toolbar/toolbar_images.h"
#include "capture/toolbar/toolbar_style.h"
#include "image/bmp_encoding_win.h"

namespace lumenta::capture {
namespace {

constexpr int kStripWidth = 30;
constexpr int kStripHeight = 180;
constexpr int kScrollBarWidth = 15;
constexpr int kWindowRows = 120;
constexpr int kChevronSize = 14;

void WriteSize(HDC dc, HFONT font, int entry, COLORREF colour) {
  if (!dc) return;
  const std::wstring text = std::to_wstring(FontSizeOfEntry(entry));
  win::SelectGuard useFont(dc, font);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, colour);
  TextOutW(dc, 5, kFontSizeEntryHeight * (entry - 1) + 6, text.c_str(),
           static_cast<int>(text.size()));
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

}  // namespace

void FontSizeListPainter::Init(HDC windowDc, HPEN framePen, HFONT labelFont) {
  strip_ = win::CreateMemorySurface(windowDc, kStripWidth, kStripHeight);
  scrollBar_ = win::CreateMemorySurface(windowDc, kScrollBarWidth, kWindowRows);
  frame_ = win::CreateMemorySurface(windowDc, kFontSizeListWidth, kFontSizeListHeight);
  chevron_ = image::SurfaceFromBmpFile(windowDc, ChevronImageFile());
  if (strip_) stripGraphics_ = std::make_unique<Gdiplus::Graphics>(strip_.dc());
  if (scrollBar_) scrollGraphics_ = std::make_unique<Gdiplus::Graphics>(scrollBar_.dc());
  whiteBrush_ = win::Brush(CreateSolidBrush(RGB(255, 255, 255)));
  trackBrush_ = win::Brush(CreateSolidBrush(kListTrackColour));
  nullPen_ = win::Pen(CreatePen(PS_NULL, 0, 0));
  thumbGradient_ = std::make_unique<Gdiplus::LinearGradientBrush>(
      Gdiplus::Point(0, 0), Gdiplus::Point(kFontSizeListWidth, 0), ArgbColour(kListThumbLeft),
      ArgbColour(kListThumbRight));

  if (HDC dc = strip_.dc()) {
    win::SelectGuard usePen(dc, nullPen_.get());
    win::SelectGuard useBrush(dc, whiteBrush_.get());
    Rectangle(dc, 0, 0, kStripWidth, kStripHeight);
  }
  if (HDC dc = frame_.dc()) {
    win::SelectGuard usePen(dc, framePen);
    win::SelectGuard useBrush(dc, whiteBrush_.get());
    Rectangle(dc, 0, 0, kFontSizeListWidth, kFontSizeListHeight);
  }
  if (HDC dc = scrollBar_.dc()) {
    {
      win::SelectGuard usePen(dc, nullPen_.get());
      win::SelectGuard useBrush(dc, trackBrush_.get());
      Rectangle(dc, 0, 0, 16, 121);
    }
    // The stored chevron points down; turned over in both directions it points up.
    StretchBlt(dc, 14, 13, -kChevronSize, -kChevronSize, chevron_.dc(), 0, 0, kChevronSize,
               kChevronSize, SRCCOPY);
    BitBlt(dc, 1, 106, kChevronSize, kChevronSize, chevron_.dc(), 0, 0, SRCCOPY);
  }
  for (int entry = 1; entry <= kFontSizeEntries; ++entry) {
    WriteSize(strip_.dc(), labelFont, entry, RGB(0, 0, 0));
  }
}

void FontSizeListPainter::Close() {
  thumbGradient_.reset();
  stripGraphics_.reset();
  scrollGraphics_.reset();
  strip_ = win::MemorySurface();
  scrollBar_ = win::MemorySurface();
  frame_ = win::MemorySurface();
  chevron_ = win::MemorySurface();
  whiteBrush_.reset();
  trackBrush_.reset();
  nullPen_.reset();
}

void FontSizeListPainter::ClearEntry(int entry, HFONT labelFont) {
  HDC dc = strip_.dc();
  if (!dc || entry < 1 || entry > kFontSizeEntries) return;
  {
    win::SelectGuard usePen(dc, nullPen_.get());
    win::SelectGuard useBrush(dc, whiteBrush_.get());
    Rectangle(dc, 0, kFontSizeEntryHeight * (entry - 1), kStripWidth,
              kFontSizeEntryHeight * entry + 1);
  }
  WriteSize(dc, labelFont, entry, RGB(0, 0, 0));
}

void FontSizeListPainter::Show(HDC target, Point at, int scroll, int selected, HFONT labelFont) {
  if (!strip_ || !frame_ || !scrollBar_) return;
  if (selected >= 1 && selected <= kFontSizeEntries && stripGraphics_) {
    const int top = kFontSizeEntryHeight * (selected - 1);
    Gdiplus::LinearGradientBrush lit(Gdiplus::Point(0, top),
                                     Gdiplus::Point(0, top + kFontSizeEntryHeight),
                                     ArgbColour(kListSelectedTop), ArgbColour(kListSelectedBottom));
    stripGraphics_->FillRectangle(&lit, 0, top, kStripWidth - 1, kFontSizeEntryHeight);
    stripGraphics_->Flush(Gdiplus::FlushIntentionSync);
    WriteSize(strip_.dc(), labelFont, selected, RGB(255, 255, 255));
  }
  BitBlt(frame_.dc(), 2, 2, kStripWidth, kWindowRows, strip_.dc(), 0, FontListFirstRow(scroll),
         SRCCOPY);
  {
    HDC dc = scrollBar_.dc();
    win::SelectGuard usePen(dc, nullPen_.get());
    win::SelectGuard useBrush(dc, trackBrush_.get());
    Rectangle(dc, 0, 15, 16, 105);
  }
  if (scrollGraphics_) {
    scrollGraphics_->FillRectangle(thumbGradient_.get(), 1, scroll + 15, 14, 65);
    scrollGraphics_->Flush(Gdiplus::FlushIntentionSync);
  }
  BitBlt(frame_.dc(), 31, 2, kScrollBarWidth, kWindowRows, scrollBar_.dc(), 0, 0, SRCCOPY);
  if (target) {
    BitBlt(target, at.x, at.y, kFontSizeListWidth, kFontSizeListHeight, frame_.dc(), 0, 0, SRCCOPY);
  }
}

}  // namespace lumenta::capture
