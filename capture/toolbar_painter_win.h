#pragma once
// The capture toolbar's pictures and drawing steps: the toolbar surface (the stored toolbar
// picture, which also carries the chosen tool's outline), the options panel surface with its
// size buttons, divider, colour box, palette and text-size box, and what the toolbar draws over
// the paint layer (itself, its panel, hover outlines and highlights). It keeps no state of the
// toolbar's own; CaptureToolbar decides what is drawn when.
// GDI+ needs the Windows and COM declarations first.
// clang-format off
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <array>
#include <memory>

#include "capture/palette.h"
#include "capture/toolbar_gdi_win.h"
#include "capture/toolbar_layout.h"

namespace lumenta::capture {

class ToolbarPainter {
 public:
  // Creates the surfaces (compatible with `windowDc`), pens, brushes and gradients. GDI+ must be
  // running. A surface that cannot be created stays empty and drawing into it does nothing.
  void Init(HDC windowDc);
  // Releases everything Init made.
  void Close();

  // The toolbar surface: the chosen tool's outline.
  void EraseToolOutline(int tool);
  void OutlineTool(int tool);

  // The panel surface, in panel coordinates.
  void ShowPanel(int width);
  void DrawSizeButtons();
  void EraseSizeButtonOutline(int sizeButton);
  void OutlineSizeButton(int sizeButton);
  void DrawPalette(int paletteX, int colour);
  void DrawColourBox(int paletteX, int colour);
  void DrawTextSizeBox(int fontHeight, HFONT labelFont);
  void DrawTriangle(HDC surface, int dx, int dy);

  // Onto a target (the paint layer), at the toolbar's position.
  void CopyToolbar(HDC target, Position origin) const;
  void CopyPanel(HDC target, Position origin, int width) const;
  void OutlineZone(HDC target, const Zone& zone) const;  // already moved to screen coordinates
  void HighlightPaletteEntry(HDC target, Position origin, int entry, int paletteX) const;
  void HighlightTextSizeBox(HDC target, Position origin, HPEN framePen);

  [[nodiscard]] HDC toolbarDc() const { return toolbar_.dc(); }
  [[nodiscard]] HDC panelDc() const { return panel_.dc(); }
  [[nodiscard]] COLORREF PaletteColour(int entry) const { return kPaletteColours[entry]; }

 private:
  gdi::Surface toolbar_;
  gdi::Surface panel_;
  gdi::Surface divider_;
  gdi::Surface hoverSquare_;
  gdi::Pen outlinePen_;
  gdi::Pen panelBorderPen_;
  gdi::Brush panelBrush_;
  gdi::Brush dotBrush_;
  gdi::Pen dotPen_;
  gdi::Pen swatchPen_;
  gdi::Pen erasePen_;
  gdi::Pen nullPen_;
  gdi::Brush triangleBrush_;
  std::array<gdi::Brush, kPaletteSize> palette_;
  std::unique_ptr<Gdiplus::Graphics> panelGraphics_;
  std::unique_ptr<Gdiplus::LinearGradientBrush> boxGradient_;
};

}  // namespace lumenta::capture
