#include "capture/model/magnifier_layout.h"

#include <string>

namespace lumenta::capture {

MagnifierLayout LayOutMagnifier(Point p, Size screen) {
  const int x = p.x, y = p.y, w = screen.width, h = screen.height;
  MagnifierLayout m;
  m.point = p;
  int px = x, py = y + 30;
  if (y + 190 > h) py = y - 170;
  if (x + 124 > w) px = x - 134;
  m.panel = Rect::FromSize(px, py, kMagnifierPanelWidth, kMagnifierPanelHeight);

  const int half = kMagnifierSample / 2;
  m.sampleOrigin = {x - half, y - half};
  // Only the part of the sample that lies on the screen is enlarged.
  int sx = 0, sy = 0, sw = kMagnifierSample, sh = kMagnifierSample;
  if (x - half < 0) {
    sx = half - x;
    sw = x + half;
  }
  if (y - half < 0) {
    sy = half - y;
    sh = y + half;
  }
  if (x + half > w) {
    sx = 0;
    sw = w - x + half;
  }
  if (y + half > h) {
    sy = 0;
    sh = h - y + half;
  }
  m.samplePart = Rect::FromSize(sx, sy, sw, sh);

  const int zoom = kMagnifierZoom;
  m.zoomArea = Rect::FromSize(px + 2, py + 2, 120, 120);
  m.zoomTarget = Rect::FromSize(px + 3 + zoom * sx, py + 3 + zoom * sy, zoom * sw, zoom * sh);
  m.crossVertical = Rect::FromSize(px + 63, py + 3, 4, 118);
  m.crossHorizontal = Rect::FromSize(px + 3, py + 63, 118, 4);
  m.coordinatesOrigin = {px + 4, py + 125};
  m.colourOrigin = {px + 4, py + 140};
  m.coordinates = "x:" + std::to_string(x) + " y:" + std::to_string(y);
  return m;
}

Text ColourReadout(std::uint32_t colour) {
  return "RGB:(" + std::to_string(colour & 0xFFu) + "," + std::to_string((colour >> 8) & 0xFFu) +
         "," + std::to_string((colour >> 16) & 0xFFu) + ")";
}

}  // namespace lumenta::capture
