#pragma once
// The text-size list's pictures: a 30 x 180 strip with all nine sizes, a 15 x 120 scroll bar
// with its chevrons, track and thumb, and the 49 x 124 frame that shows a 120-row window of the
// strip beside the scroll bar and is copied onto the paint layer.
#include <windows.h>

#include <memory>

#include "capture/model/toolbar_layout.h"
#include "capture/window/gdiplus_session_win.h"
#include "win/gdi_win.h"

namespace lumenta::capture {

class FontSizeListPainter {
 public:
  // Creates the surfaces (compatible with `windowDc`) and draws the strip, the empty frame
  // (with `framePen`) and the scroll bar with its chevrons. GDI+ must be running.
  void Init(HDC windowDc, HPEN framePen, HFONT labelFont);
  void Close();

  // Entry `entry` of the strip back to white with its size written again.
  void ClearEntry(int entry, HFONT labelFont);
  // Lights entry `selected`, frames the strip from its row truncate(2.38 × scroll) and the
  // scroll bar with the thumb at `scroll`, and copies the frame onto `target` at `at`.
  void Show(HDC target, Point at, int scroll, int selected, HFONT labelFont);

 private:
  win::MemorySurface strip_;
  win::MemorySurface scrollBar_;
  win::MemorySurface frame_;
  win::MemorySurface chevron_;
  win::Brush whiteBrush_;
  win::Brush trackBrush_;
  win::Pen nullPen_;
  std::unique_ptr<Gdiplus::Graphics> stripGraphics_;
  std::unique_ptr<Gdiplus::Graphics> scrollGraphics_;
  std::unique_ptr<Gdiplus::LinearGradientBrush> thumbGradient_;
};

}  // namespace lumenta::capture
