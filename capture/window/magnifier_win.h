#pragma once
// The magnifier panel: the 30 x 30 snapshot pixels around a screen point enlarged four times,
// a crosshair, the point's coordinates and the colour of its pixel, all read from the frozen
// snapshot (not from the dimmed picture on the screen).
#include <windows.h>

#include <memory>

#include "capture/model/geometry.h"
#include "capture/model/magnifier_layout.h"
#include "capture/window/gdiplus_session_win.h"
#include "win/gdi_win.h"

namespace lumenta::capture {

class Magnifier {
 public:
  // The capture window was created: the sample surface (compatible with the window's device
  // context) and the panel and crosshair brushes; the paint layer gets a transparent
  // background and white text. Needs GDI+ started.
  void Init(HDC windowDc, HDC paintLayer);
  // The capture window is being destroyed: releases what Init made.
  void Close();

  // Draws the panel for `m` onto `target` through `graphics` (a GDI+ graphics object on the
  // target), reading pixels from `snapshot` and writing with `font`.
  void Paint(HDC target, Gdiplus::Graphics& graphics, HDC snapshot, HFONT font,
             const MagnifierLayout& m) const;

  // Every pixel Paint may touch for `m`: the panel and the reach of its two text lines.
  [[nodiscard]] Rect Extent(HDC measuring, HFONT font, HDC snapshot,
                            const MagnifierLayout& m) const;

 private:
  win::MemorySurface sample_;
  std::unique_ptr<Gdiplus::SolidBrush> panelBrush_;
  std::unique_ptr<Gdiplus::SolidBrush> crossBrush_;
};

}  // namespace lumenta::capture
