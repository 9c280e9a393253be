#pragma once
// Plain integer geometry of the capture tool: points, sizes and edge rectangles in screen pixels.
// A Rect holds its four edges; the right and bottom edges are exclusive, as in GDI.
#include <algorithm>
#include <vector>

namespace lumenta::capture {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  static Rect FromSize(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
  }
  [[nodiscard]] int Width() const { return right - left; }
  [[nodiscard]] int Height() const { return bottom - top; }
  [[nodiscard]] bool IsEmpty() const { return right <= left || bottom <= top; }
  [[nodiscard]] bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  [[nodiscard]] bool Contains(Point p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  [[nodiscard]] Rect Inflated(int dx, int dy) const {
    return {left - dx, top - dy, right + dx, bottom + dy};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The common part of two rectangles (empty when they do not meet).
[[nodiscard]] inline Rect Intersection(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  return r.IsEmpty() ? Rect{} : r;
}

[[nodiscard]] inline bool Intersects(const Rect& a, const Rect& b) {
  return !Intersection(a, b).IsEmpty();
}

// The smallest rectangle holding both (an empty one adds nothing).
[[nodiscard]] inline Rect Union(const Rect& a, const Rect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// The pixels of `a` that are not in `b`, as at most four disjoint rectangles appended to `out`.
inline void AppendDifference(const Rect& a, const Rect& b, std::vector<Rect>& out) {
  if (a.IsEmpty()) return;
  const Rect common = Intersection(a, b);
  if (common.IsEmpty()) {
    out.push_back(a);
    return;
  }
  if (common.top > a.top) out.push_back({a.left, a.top, a.right, common.top});
  if (common.bottom < a.bottom) out.push_back({a.left, common.bottom, a.right, a.bottom});
  if (common.left > a.left) out.push_back({a.left, common.top, common.left, common.bottom});
  if (common.right < a.right) out.push_back({common.right, common.top, a.right, common.bottom});
}

}  // namespace lumenta::capture
