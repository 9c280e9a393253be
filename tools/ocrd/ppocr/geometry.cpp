#include "tools/ocrd/ppocr/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumenta::ocrd::ppocr {
namespace {

double Cross(Point o, Point a, Point b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

double Distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

}  // namespace

std::vector<Point> ConvexHull(std::vector<Point> points) {
  std::sort(points.begin(), points.end(),
            [](Point a, Point b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  points.erase(std::unique(points.begin(), points.end()), points.end());
  if (points.size() < 3) return points;
  // Andrew's monotone chain: lower hull, then upper hull.
  std::vector<Point> hull(2 * points.size());
  std::size_t k = 0;
  for (const Point& p : points) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], p) <= 0) --k;
    hull[k++] = p;
  }
  for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  hull.resize(k - 1);  // the last point repeats the first
  return hull;
}

RotatedRect MinAreaRect(const std::vector<Point>& points) {
  const std::vector<Point> hull = ConvexHull(points);
  RotatedRect best;
  if (hull.empty()) return best;
  if (hull.size() == 1) {
    best.centre = hull[0];
    return best;
  }
  double bestArea = INFINITY;
  for (std::size_t i = 0; i < hull.size(); ++i) {
    const Point a = hull[i];
    const Point b = hull[(i + 1) % hull.size()];
    const double length = Distance(a, b);
    if (length == 0) continue;
    // Unit vectors along the edge (u) and across it (v); the extents of every hull point.
    const double ux = (b.x - a.x) / length, uy = (b.y - a.y) / length;
    const double vx = -uy, vy = ux;
    double minU = INFINITY, maxU = -INFINITY, minV = INFINITY, maxV = -INFINITY;
    for (const Point& p : hull) {
      const double pu = (p.x - a.x) * ux + (p.y - a.y) * uy;
      const double pv = (p.x - a.x) * vx + (p.y - a.y) * vy;
      minU = std::min(minU, pu);
      maxU = std::max(maxU, pu);
      minV = std::min(minV, pv);
      maxV = std::max(maxV, pv);
    }
    const double area = (maxU - minU) * (maxV - minV);
    // Ties (a hull with edges at right angles has two) keep the rectangle found first; the
    // width is chosen below independently of the edge it was found from.
    if (area < bestArea - 1e-9) {
      bestArea = area;
      const double cu = (minU + maxU) / 2, cv = (minV + maxV) / 2;
      best.centre = {a.x + cu * ux + cv * vx, a.y + cu * uy + cv * vy};
      best.width = maxU - minU;
      best.height = maxV - minV;
      best.angle = std::atan2(uy, ux);
    }
  }
  // Name the side nearer the x axis the width: angle within (-pi/4, pi/4].
  const double quarter = std::numbers::pi / 2;
  double angle = std::remainder(best.angle, std::numbers::pi);  // a side's direction, modulo a half turn
  if (angle > quarter / 2 + 1e-12 || angle <= -quarter / 2 + 1e-12) {
    std::swap(best.width, best.height);
    angle = std::remainder(angle + quarter, std::numbers::pi);
  }
  best.angle = angle;
  return best;
}

Quad Corners(const RotatedRect& rect) {
  const double ux = std::cos(rect.angle), uy = std::sin(rect.angle);
  const double vx = -uy, vy = ux;  // a quarter turn clockwise on screen (y down)
  const double hw = rect.width / 2, hh = rect.height / 2;
  const Point c = rect.centre;
  // With the angle within a quarter of a turn around the x axis, -u points left and -v up.
  return Quad{Point{c.x - hw * ux - hh * vx, c.y - hw * uy - hh * vy},
              Point{c.x + hw * ux - hh * vx, c.y + hw * uy - hh * vy},
              Point{c.x + hw * ux + hh * vx, c.y + hw * uy + hh * vy},
              Point{c.x - hw * ux + hh * vx, c.y - hw * uy + hh * vy}};
}

RotatedRect Unclip(const RotatedRect& rect, double ratio) {
  const double perimeter = 2 * (rect.width + rect.height);
  if (perimeter <= 0) return rect;
  const double distance = rect.width * rect.height * ratio / perimeter;
  RotatedRect grown = rect;
  grown.width += 2 * distance;
  grown.height += 2 * distance;
  return grown;
}

double QuadWidth(const Quad& quad) {
  return std::max(Distance(quad[0], quad[1]), Distance(quad[3], quad[2]));
}

double QuadHeight(const Quad& quad) {
  return std::max(Distance(quad[0], quad[3]), Distance(quad[1], quad[2]));
}

bool InsideQuad(const Quad& quad, Point p, double tolerance) {
  // Clockwise on screen: every edge has the point on its right (y down), or on the edge.
  for (std::size_t i = 0; i < 4; ++i) {
    const Point a = quad[i], b = quad[(i + 1) % 4];
    const double length = Distance(a, b);
    if (length == 0) continue;
    if (Cross(a, b, p) / length < -tolerance) return false;
  }
  return true;
}

}  // namespace lumenta::ocrd::ppocr
