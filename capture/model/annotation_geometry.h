#pragma once
// The geometry of the drawing tools: where a dragged point may go inside the selected rectangle,
// and the head of an arrow. Region coordinates are relative to the rectangle's top-left corner.
#include "capture/model/toolbar_layout.h"

namespace lumenta::capture {

// Keeps a dragged point inside a rectangle of `width` × `height` so that a line of `penWidth`
// stays on it: with width 1 the point stays at least one pixel inside every edge; otherwise a
// value below half the width becomes truncate(half) and a value beyond the far edge minus half
// becomes truncate(edge − half).
[[nodiscard]] Point ClampToolPoint(int rx, int ry, int width, int height, int penWidth);

// The arc sine and arc cosine the arrow head is built with: ±1 (within 1e-7) give the fixed
// values ±1.57079632675 and 3.1415926535 / 0; any other value goes through the arc tangent.
[[nodiscard]] double ArrowArcSine(double v);
[[nodiscard]] double ArrowArcCosine(double v);

inline constexpr int kArrowHeadLength = 9;
inline constexpr double kArrowHeadHalfAngle = 0.5235988;  // 30 degrees

// The head of an arrow from (x0, y0) to (x1, y1): the tip and the two back corners, each 9
// pixels from the tip at 30 degrees on either side of the shaft, offsets rounded to the nearest
// pixel with halves away from zero. A zero-length arrow has no direction; its corners come out at
// (+5, −5) and (−5, +5) from the tip.
struct ArrowHead {
  Point tip;
  Point first;   // at the shaft's angle minus 30 degrees
  Point second;  // at the shaft's angle plus 30 degrees
  friend bool operator==(const ArrowHead&, const ArrowHead&) = default;
};
[[nodiscard]] ArrowHead ComputeArrowHead(int x0, int y0, int x1, int y1);

}  // namespace lumenta::capture
