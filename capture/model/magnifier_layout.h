#pragma once
// Where the magnifier panel and its parts go for a screen point, and the texts it shows. The
// panel shows the 30 x 30 snapshot pixels around the point enlarged four times, a crosshair,
// the point's coordinates and the colour of its pixel.
#include <cstdint>

#include "base/text.h"
#include "capture/model/geometry.h"

namespace lumenta::capture {

inline constexpr int kMagnifierPanelWidth = 124;
inline constexpr int kMagnifierPanelHeight = 160;
inline constexpr int kMagnifierSample = 30;  // sample square, in screen pixels
inline constexpr int kMagnifierZoom = 4;     // each sample pixel becomes a 4 x 4 block

struct MagnifierLayout {
  Point point;         // the screen point the panel describes
  Rect panel;          // background: 124 x 160
  Point sampleOrigin;  // top-left of the 30 x 30 snapshot block copied into the sample
  Rect samplePart;     // the part of the sample that lies on the screen
  Rect zoomArea;       // the 120 x 120 block that starts out as the un-dimmed snapshot
  Rect zoomTarget;     // where the sample part is drawn enlarged
  Rect crossVertical;  // crosshair bars
  Rect crossHorizontal;
  Point coordinatesOrigin;  // "x:.. y:.."
  Point colourOrigin;       // "RGB:(r,g,b)"
  Text coordinates;
};

// The panel is drawn 30 pixels below the point, or 170 above it when it would come within 190
// pixels of the bottom; 134 pixels to its left when it would come within 124 pixels of the
// right edge.
[[nodiscard]] MagnifierLayout LayOutMagnifier(Point p, Size screen);

// "RGB:(r,g,b)" of a GDI colour value 0x00BBGGRR: its first, second and third byte.
[[nodiscard]] Text ColourReadout(std::uint32_t colour);

}  // namespace lumenta::capture
