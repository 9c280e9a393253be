#include "capture/window/magnifier_win.h"

#include "base/text_encoders.h"
#include "capture/window/gdiplus_session_win.h"
#include "win/wide_win.h"

namespace lumenta::capture {
namespace {

std::uint32_t SnapshotColour(HDC snapshot, Point p) {
  const COLORREF c = GetPixel(snapshot, p.x, p.y);
  return c == CLR_INVALID ? 0 : c;
}

Size Measure(HDC dc, HFONT font, const std::wstring& text) {
  win::SelectGuard selected(dc, font);
  SIZE s{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
  return {s.cx, s.cy};
}

}  // namespace

void Magnifier::Init(HDC windowDc, HDC paintLayer) {
  sample_ = win::CreateMemorySurface(windowDc, kMagnifierSample, kMagnifierSample);
  panelBrush_ = std::make_unique<Gdiplus::SolidBrush>(ArgbColour(RGB(0, 0, 0), 150));
  crossBrush_ = std::make_unique<Gdiplus::SolidBrush>(ArgbColour(RGB(0, 150, 255), 150));
  SetBkMode(paintLayer, TRANSPARENT);
  SetTextColor(paintLayer, RGB(255, 255, 255));
}

void Magnifier::Close() {
  crossBrush_.reset();
  panelBrush_.reset();
  sample_ = win::MemorySurface();
}

void Magnifier::Paint(HDC target, Gdiplus::Graphics& graphics, HDC snapshot, HFONT font,
                      const MagnifierLayout& m) const {
  if (!panelBrush_ || !crossBrush_) return;
  const Rect& panel = m.panel;
  graphics.FillRectangle(panelBrush_.get(), Gdiplus::REAL(panel.left), Gdiplus::REAL(panel.top),
                         Gdiplus::REAL(panel.Width()), Gdiplus::REAL(panel.Height()));
  // Only the on-screen part of the 30 x 30 block is copied: a copy reaching outside the
  // snapshot is not guaranteed to be clipped, and nothing else of the sample is shown.
  const Rect& part = m.samplePart;
  BitBlt(sample_.dc(), part.left, part.top, part.Width(), part.Height(), snapshot,
         m.sampleOrigin.x + part.left, m.sampleOrigin.y + part.top, SRCCOPY);
  const Rect& zoom = m.zoomArea;
  BitBlt(target, zoom.left, zoom.top, zoom.Width(), zoom.Height(), snapshot, zoom.left, zoom.top,
         SRCCOPY);
  const Rect& to = m.zoomTarget;
  StretchBlt(target, to.left, to.top, to.Width(), to.Height(), sample_.dc(), part.left, part.top,
             part.Width(), part.Height(), SRCCOPY);
  for (const Rect& bar : {m.crossVertical, m.crossHorizontal}) {
    graphics.FillRectangle(crossBrush_.get(), Gdiplus::REAL(bar.left), Gdiplus::REAL(bar.top),
                           Gdiplus::REAL(bar.Width()), Gdiplus::REAL(bar.Height()));
  }
  win::SelectGuard selected(target, font);
  const std::wstring coordinates = win::WideFromText(m.coordinates);
  const std::wstring colour = win::WideFromText(ColourReadout(SnapshotColour(snapshot, m.point)));
  TextOutW(target, m.coordinatesOrigin.x, m.coordinatesOrigin.y, coordinates.c_str(),
           static_cast<int>(coordinates.size()));
  TextOutW(target, m.colourOrigin.x, m.colourOrigin.y, colour.c_str(),
           static_cast<int>(colour.size()));
}

Rect Magnifier::Extent(HDC measuring, HFONT font, HDC snapshot, const MagnifierLayout& m) const {
  const Size first = Measure(measuring, font, win::WideFromText(m.coordinates));
  const Size second =
      Measure(measuring, font, win::WideFromText(ColourReadout(SnapshotColour(snapshot, m.point))));
  Rect extent = m.panel;
  extent = Union(extent, Rect::FromSize(m.coordinatesOrigin.x, m.coordinatesOrigin.y, first.width,
                                        first.height));
  extent = Union(extent,
                 Rect::FromSize(m.colourOrigin.x, m.colourOrigin.y, second.width, second.height));
  // GDI+ fills and glyph edges may reach a pixel past their nominal boxes.
  return extent.Inflated(3, 3);
}

}  // namespace lumenta::capture
