#pragma once
// Plane geometry of text boxes: convex hulls, minimum-area rectangles, expanding a box, and the
// four corners of a box in the order the rest of the pipeline reads them.
#include <array>
#include <vector>

namespace lumenta::ocrd::ppocr {

struct Point {
  double x = 0;
  double y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Four corners clockwise (in picture coordinates, y down) from the top left of the text.
using Quad = std::array<Point, 4>;

// A rectangle at any angle: its centre, the lengths of its sides and the direction of the side
// called its width, in radians from the x axis.
struct RotatedRect {
  Point centre;
  double width = 0;
  double height = 0;
  double angle = 0;
};

// The convex hull of `points`, counter-clockwise in a y-up frame (clockwise on screen), with no
// collinear points; fewer than three points for degenerate input.
[[nodiscard]] std::vector<Point> ConvexHull(std::vector<Point> points);

// The rectangle of least area that holds every point (rotating calipers over the hull: one side
// of the best rectangle lies on an edge of the hull). For one point or points on a line the
// rectangle has a zero side. Its width is the side nearer the x axis, so that a text line's
// rectangle is as wide as the line and as high as its letters.
[[nodiscard]] RotatedRect MinAreaRect(const std::vector<Point>& points);

// The four corners of `rect`, clockwise from the one a reader calls the top left: of the two
// corners on the left, the upper one.
[[nodiscard]] Quad Corners(const RotatedRect& rect);

// The text detector finds the shrunken core of each line; this grows it back by the distance
// area * ratio / perimeter on every side (for a rectangle, the offset polygon's enclosing
// rectangle).
[[nodiscard]] RotatedRect Unclip(const RotatedRect& rect, double ratio);

// Lengths of the top and left sides of a quad (the longer of each opposite pair).
[[nodiscard]] double QuadWidth(const Quad& quad);
[[nodiscard]] double QuadHeight(const Quad& quad);

// True when `p` lies inside the convex quad or on its border (within `tolerance`).
[[nodiscard]] bool InsideQuad(const Quad& quad, Point p, double tolerance = 1e-9);

}  // namespace lumenta::ocrd::ppocr
