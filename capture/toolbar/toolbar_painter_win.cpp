#include "capture/toolbar/toolbar_painter_win.h"

#include <string>

#include "capture/toolbar/toolbar_images.h"
#include "capture/toolbar/toolbar_style.h"
#include "image/bmp_encoding_win.h"

namespace lumenta::capture {
namespace {

constexpr int kCorner = 2;  // rounded outlines: a 2 x 2 corner ellipse
constexpr int kHoverSquareSize = 15;

void RoundOutline(HDC dc, HPEN pen, const Zone& z) {
  if (!dc) return;
  win::SelectGuard usePen(dc, pen);
  win::SelectGuard useBrush(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, z.left, z.top, z.right, z.bottom, kCorner, kCorner);
}

void Box(HDC dc, HPEN pen, HBRUSH brush, const Zone& z) {
  if (!dc) return;
  win::SelectGuard usePen(dc, pen);
  win::SelectGuard useBrush(dc, brush);
  Rectangle(dc, z.left, z.top, z.right, z.bottom);
}

void WriteNumber(HDC dc, HFONT font, int x, int y, int number) {
  if (!dc) return;
  const std::wstring text = std::to_wstring(number);
  win::SelectGuard useFont(dc, font);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
  SetBkMode(dc, oldMode);
}

Zone ToolZone(int tool) { return tool >= 1 && tool <= 9 ? kToolbarButtonZones[tool - 1] : Zone{}; }

}  // namespace

void ToolbarPainter::Init(HDC windowDc) {
  toolbar_ = image::SurfaceFromBmpFile(windowDc, ToolbarImageFile());
  panel_ = win::CreateMemorySurface(windowDc, kPanelWidthWide, kPanelHeight);
  divider_ = image::SurfaceFromBmpFile(windowDc, DividerImageFile());

  outlinePen_ = win::Pen(CreatePen(PS_SOLID, 1, kOutlineColour));
  panelBorderPen_ = win::Pen(CreatePen(PS_SOLID, 1, kPanelBorderColour));
  panelBrush_ = win::Brush(CreateSolidBrush(kPanelColour));
  dotBrush_ = win::Brush(CreateSolidBrush(kDotColour));
  dotPen_ = win::Pen(CreatePen(PS_SOLID, 1, kDotColour));
  swatchPen_ = win::Pen(CreatePen(PS_SOLID, 1, kSwatchPenColour));
  erasePen_ = win::Pen(CreatePen(PS_SOLID, 1, kEraseColour));
  triangleBrush_ = win::Brush(CreateSolidBrush(kTriangleColour));
  nullPen_ = win::Pen(CreatePen(PS_NULL, 0, 0));
  for (int n = 0; n < kPaletteSize; ++n) {
    palette_[n] = win::Brush(CreateSolidBrush(kPaletteColours[n]));
  }

  if (panel_) panelGraphics_ = std::make_unique<Gdiplus::Graphics>(panel_.dc());
  boxGradient_ = std::make_unique<Gdiplus::LinearGradientBrush>(
      Gdiplus::Point(0, 8), Gdiplus::Point(0, 27), ArgbColour(kBoxGradientTop),
      ArgbColour(kBoxGradientBottom));
  hoverSquare_ = win::CreateMemorySurface(windowDc, kHoverSquareSize, kHoverSquareSize);
  if (hoverSquare_) {
    Gdiplus::Graphics graphics(hoverSquare_.dc());
    Gdiplus::LinearGradientBrush gradient(Gdiplus::Point(0, 0), Gdiplus::Point(0, kHoverSquareSize),
                                          ArgbColour(kHoverSquareTop),
                                          ArgbColour(kHoverSquareBottom));
    graphics.FillRectangle(&gradient, 0, 0, kHoverSquareSize, kHoverSquareSize);
  }
}

void ToolbarPainter::Close() {
  // GDI+ objects go first: the graphics object holds the panel's device context.
  boxGradient_.reset();
  panelGraphics_.reset();
  toolbar_ = win::MemorySurface();
  panel_ = win::MemorySurface();
  divider_ = win::MemorySurface();
  hoverSquare_ = win::MemorySurface();
  outlinePen_.reset();
  panelBorderPen_.reset();
  panelBrush_.reset();
  dotBrush_.reset();
  dotPen_.reset();
  swatchPen_.reset();
  erasePen_.reset();
  nullPen_.reset();
  triangleBrush_.reset();
  for (auto& brush : palette_) brush.reset();
}

void ToolbarPainter::EraseToolOutline(int tool) {
  if (tool != 0) RoundOutline(toolbar_.dc(), erasePen_.get(), ToolZone(tool));
}

void ToolbarPainter::OutlineTool(int tool) {
  if (tool != 0) RoundOutline(toolbar_.dc(), outlinePen_.get(), ToolZone(tool));
}

void ToolbarPainter::ShowPanel(int width) {
  Box(panel_.dc(), panelBorderPen_.get(), panelBrush_.get(), {0, 0, width, kPanelHeight});
}

void ToolbarPainter::DrawSizeButtons() {
  HDC dc = panel_.dc();
  if (!dc) return;
  {
    win::SelectGuard usePen(dc, dotPen_.get());
    win::SelectGuard useBrush(dc, dotBrush_.get());
    Ellipse(dc, 15, 16, 19, 20);
    Ellipse(dc, 37, 15, 43, 21);
    Ellipse(dc, 62, 13, 72, 23);
  }
  BitBlt(dc, 80, 5, 5, 28, divider_.dc(), 0, 0, SRCCOPY);
}

void ToolbarPainter::EraseSizeButtonOutline(int sizeButton) {
  if (sizeButton >= 1 && sizeButton <= 3) {
    RoundOutline(panel_.dc(), erasePen_.get(), kSizeButtonOutlines[sizeButton - 1]);
  }
}

void ToolbarPainter::OutlineSizeButton(int sizeButton) {
  if (sizeButton >= 1 && sizeButton <= 3) {
    RoundOutline(panel_.dc(), outlinePen_.get(), kSizeButtonOutlines[sizeButton - 1]);
  }
}

void ToolbarPainter::DrawPalette(int paletteX, int colour) {
  DrawColourBox(paletteX, colour);
  for (int n = 0; n < kPaletteSize; ++n) {
    Box(panel_.dc(), swatchPen_.get(), palette_[n].get(), PaletteSwatch(n, paletteX));
  }
}

void ToolbarPainter::DrawColourBox(int paletteX, int colour) {
  Box(panel_.dc(), swatchPen_.get(), palette_[kPaletteWhite].get(), ColourBoxFrame(paletteX));
  Box(panel_.dc(), nullPen_.get(), palette_[colour].get(), ColourBoxFill(paletteX));
}

void ToolbarPainter::DrawTextSizeBox(int fontHeight, HFONT labelFont) {
  HDC dc = panel_.dc();
  if (!dc) return;
  BitBlt(dc, 6, 8, 21, 18, toolbar_.dc(), 112, 4, SRCCOPY);  // the "A" of the text tool
  if (panelGraphics_) {
    panelGraphics_->FillRectangle(boxGradient_.get(), 31, 9, 46, 19);
    panelGraphics_->Flush(Gdiplus::FlushIntentionSync);
  }
  Box(dc, nullPen_.get(), palette_[kPaletteWhite].get(), {32, 10, 77, 28});
  DrawTriangle(dc, 0, 0);
  WriteNumber(dc, labelFont, 36, 12, fontHeight);
}

void ToolbarPainter::DrawTriangle(HDC surface, int dx, int dy) {
  if (!surface) return;
  const POINT points[] = {{dx + 64, dy + 16}, {dx + 71, dy + 16}, {dx + 67, dy + 20}};
  win::SelectGuard usePen(surface, nullPen_.get());
  win::SelectGuard useBrush(surface, triangleBrush_.get());
  Polygon(surface, points, 3);
}

void ToolbarPainter::CopyToolbar(HDC target, Point origin) const {
  if (target && toolbar_) {
    BitBlt(target, origin.x, origin.y, kToolbarWidth, kToolbarHeight, toolbar_.dc(), 0, 0, SRCCOPY);
  }
}

void ToolbarPainter::CopyPanel(HDC target, Point origin, int width) const {
  if (target && panel_) {
    BitBlt(target, origin.x, origin.y + kPanelOffsetY, width, kPanelHeight, panel_.dc(), 0, 0,
           SRCCOPY);
  }
}

void ToolbarPainter::OutlineZone(HDC target, const Zone& zone) const {
  RoundOutline(target, outlinePen_.get(), zone);
}

void ToolbarPainter::HighlightPaletteEntry(HDC target, Point origin, int entry,
                                           int paletteX) const {
  Box(target, swatchPen_.get(), palette_[kPaletteWhite].get(),
      PaletteHoverFrame(entry, paletteX).Moved(origin.x, origin.y));
  Box(target, nullPen_.get(), palette_[entry].get(),
      PaletteHoverFill(entry, paletteX).Moved(origin.x, origin.y));
}

void ToolbarPainter::HighlightTextSizeBox(HDC target, Point origin, HPEN framePen) {
  if (!target) return;
  const int tx = origin.x, ty = origin.y;
  {
    win::SelectGuard usePen(target, framePen);
    win::SelectGuard useBrush(target, GetStockObject(NULL_BRUSH));
    Rectangle(target, tx + 31, ty + 38, tx + 77, ty + 57);
    MoveToEx(target, tx + 58, ty + 38, nullptr);
    LineTo(target, tx + 58, ty + 57);
  }
  BitBlt(target, tx + 60, ty + 40, kHoverSquareSize, kHoverSquareSize, hoverSquare_.dc(), 0, 0,
         SRCCOPY);
  DrawTriangle(target, tx, ty + kPanelOffsetY);
}

}  // namespace lumenta::capture
