#pragma once
// The geometry of the capture window's selection: handle zones and the orders in which a press
// and the hover cursor test them, the drag steps with their fixed points, the clamping and
// normalising of a new rectangle, and its size label. No drawing happens here: the window draws
// what these functions work out.
#include <array>
#include <cstdint>
#include <optional>

#include "base/text.h"
#include "capture/model/geometry.h"

namespace lumenta::capture {

// What the current drag of the left button does to a selected rectangle.
enum class DragMode : std::uint8_t {
  kNone = 0,
  kTopLeft = 1,
  kTopRight = 2,
  kBottomRight = 3,
  kBottomLeft = 4,
  kTop = 5,
  kBottom = 6,
  kLeft = 7,
  kRight = 8,
  kMove = 9,
};

// Cursors of the capture window, by the identifiers of the system cursors they are loaded from.
// kArrow is the window's own arrow; kCross is the drawing tools' cross.
enum class CaptureCursor : int {
  kUnchanged = 0,
  kArrow = 1,
  kCross = 2,
  kSizeTopLeftBottomRight = 32642,
  kSizeTopRightBottomLeft = 32643,
  kSizeHorizontal = 32644,
  kSizeVertical = 32645,
  kMove = 32646,
};

// True when left < x < right and top < y < bottom (both bounds exclusive).
[[nodiscard]] constexpr bool PointStrictlyInside(int x, int y, int left, int top, int right,
                                                 int bottom) {
  return left < x && x < right && top < y && y < bottom;
}

// The GDI+ colour (0xAARRGGBB) of a GDI colour (0x00BBGGRR): red and blue exchanged, the alpha
// byte set to `alpha`.
[[nodiscard]] constexpr std::uint32_t MakeArgb(std::uint32_t colour, std::uint8_t alpha = 255) {
  return (std::uint32_t{alpha} << 24) | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) |
         ((colour >> 16) & 0xFFu);
}

// The eight handles of a rectangle.
enum class Handle { kTopLeft, kTopRight, kBottomLeft, kBottomRight, kTop, kBottom, kLeft, kRight };

// True when `p` grabs the handle: strictly within 5 pixels of the handle point in both
// directions. Middle handles sit on the exact (possibly half-pixel) midpoint; each zone bound is
// truncated toward zero after the 5 is added or subtracted.
[[nodiscard]] bool InHandleZone(const Rect& selection, Handle handle, Point p);

// The drag a press at `p` starts on `selection`: the first zone in the order top-left,
// top-right, bottom-left, bottom-right, top, bottom, left, right, inside; kNone elsewhere.
[[nodiscard]] DragMode PressedZone(const Rect& selection, Point p);

// The cursor for a mouse at `p` over `selection`: diagonal for the top-left and bottom-right
// handles, then the other diagonal, then horizontal (left, right), then vertical (top, bottom),
// then the move cursor strictly inside; kUnchanged elsewhere.
[[nodiscard]] CaptureCursor HoverCursor(const Rect& selection, Point p);

// The arguments of one RenderSelection call: two corners, the optional cursor point, and
// whether the magnifier is part of the frame.
struct RenderRequest {
  RenderRequest() = default;
  RenderRequest(int x1, int y1, int x2, int y2, std::optional<Point> cursor = std::nullopt,
                bool withMagnifier = true)
      : x1(x1), y1(y1), x2(x2), y2(y2), cursor(cursor), withMagnifier(withMagnifier) {}

  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  std::optional<Point> cursor;
  bool withMagnifier = true;
  friend bool operator==(const RenderRequest&, const RenderRequest&) = default;
};

// One mouse movement of a resize or move drag: the frame to render (none for kNone) and the
// cursor the drag sets (kUnchanged: the hover cursor stays). Takes the fixed point of a drag
// of `mode` on `selection` into `anchor` while it is still (0, 0).
struct DragStep {
  std::optional<RenderRequest> render;
  CaptureCursor cursor = CaptureCursor::kUnchanged;
};
[[nodiscard]] DragStep PerformDragStep(const Rect& selection, DragMode mode, Point& anchor,
                                       Point p);

// Everything RenderSelection works out before it draws.
struct SelectionFrame {
  Point corner1;   // the first corner after clamping and widening
  Point corner2;   // the second corner after clamping
  Rect selection;  // the normalised rectangle, stored as the new selection
  std::array<Point, 8>
      handles;  // four corners, then (midX, y1), (midX, y2), (x1, midY), (x2, midY)
  Text label;   // "width×height" in GBK
  bool withMagnifier = true;
  Point magnifierPoint;  // the cursor point when given, else the clamped second corner
};

// Clamps the corners against the screen and the previous selection (a corner past an edge is
// put on that edge and the other side keeps its previous position), widens a zero width or
// height to one pixel by moving the first corner, and normalises.
[[nodiscard]] SelectionFrame LayOutSelection(const RenderRequest& request, const Rect& previous,
                                             Size screen);

// "width×height" (× is GBK A1 C1) of a rectangle.
[[nodiscard]] Text SizeLabelText(const Rect& selection);

// Top-left corner of the size label's background for a label text measuring `extent`: above the
// rectangle's top-left corner, inside the rectangle when that would leave the screen at the top,
// left of the rectangle when the label would leave the screen on the right.
[[nodiscard]] Point SizeLabelOrigin(const Rect& selection, Size extent, int screenWidth);

// The label's background (origin, extent + (5, 6)) and where its text starts (origin + (3, 3)).
[[nodiscard]] inline Rect SizeLabelBackground(Point origin, Size extent) {
  return Rect::FromSize(origin.x, origin.y, extent.width + 5, extent.height + 6);
}
[[nodiscard]] inline Point SizeLabelTextOrigin(Point origin) {
  return {origin.x + 3, origin.y + 3};
}

}  // namespace lumenta::capture
