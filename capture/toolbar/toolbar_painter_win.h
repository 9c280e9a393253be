#pragma once
// The capture toolbar's pictures and drawing steps: the toolbar surface (the stored toolbar
// picture, which also carries the chosen tool's outline), the options panel surface with its
// size buttons, divider, colour box, palette and text-size box, and what the toolbar draws over
// the paint layer (itself, its panel, hover outlines and highlights). It keeps no state of the
// toolbar's own; CaptureToolbar decides what is drawn when.
#include <windows.h>

#include <array>
#include <memory>

#include "capture/model/palette.h"
#include "capture/model/toolbar_layout.h"
#include "capture/window/gdiplus_session_win.h"
#include "win/gdi_win.h"

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
  void CopyToolbar(HDC target, Point origin) const;
  void CopyPanel(HDC target, Point origin, int width) const;
  void OutlineZone(HDC target, const Zone& zone) const;  // already moved to screen coordinates
  void HighlightPaletteEntry(HDC target, Point origin, int entry, int paletteX) const;
  void HighlightTextSizeBox(HDC target, Point origin, HPEN framePen);

  [[nodiscard]] HDC toolbarDc() const { return toolbar_.dc(); }
  [[nodiscard]] HDC panelDc() const { return panel_.dc(); }
  [[nodiscard]] COLORREF PaletteColour(int entry) const { return kPaletteColours[entry]; }

 private:
  win::MemorySurface toolbar_;
  win::MemorySurface panel_;
  win::MemorySurface divider_;
  win::MemorySurface hoverSquare_;
  win::Pen outlinePen_;
  win::Pen panelBorderPen_;
  win::Brush panelBrush_;
  win::Brush dotBrush_;
  win::Pen dotPen_;
  win::Pen swatchPen_;
  win::Pen erasePen_;
  win::Pen nullPen_;
  win::Brush triangleBrush_;
  std::array<win::Brush, kPaletteSize> palette_;
  std::unique_ptr<Gdiplus::Graphics> panelGraphics_;
  std::unique_ptr<Gdiplus::LinearGradientBrush> boxGradient_;
};

}  // namespace lumenta::capture
