#include "tools/ocrd/ppocr/reading_order.h"

#include <algorithm>
#include <numeric>

namespace lumenta::ocrd::ppocr {
namespace {

struct Extent {
  double centreY = 0;
  double height = 0;
  double left = 0;
};

Extent ExtentOf(const Quad& quad) {
  double top = quad[0].y, bottom = quad[0].y, left = quad[0].x;
  for (const Point& p : quad) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
    left = std::min(left, p.x);
  }
  return {(top + bottom) / 2, QuadHeight(quad), left};
}

}  // namespace

std::vector<std::size_t> ReadingOrder(const std::vector<Quad>& boxes) {
  std::vector<Extent> extents;
  extents.reserve(boxes.size());
  for (const Quad& box : boxes) extents.push_back(ExtentOf(box));
  std::vector<std::size_t> order(boxes.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return extents[a].centreY < extents[b].centreY;
  });

  // Rows from the top: a box joins the row when it is level with the row's first box (its
  // anchor); the next box that is not starts the next row.
  std::vector<std::size_t> result;
  result.reserve(order.size());
  std::size_t rowStart = 0;
  while (rowStart < order.size()) {
    const Extent& anchor = extents[order[rowStart]];
    std::size_t rowEnd = rowStart + 1;
    while (rowEnd < order.size()) {
      const Extent& next = extents[order[rowEnd]];
      const double halfLine = std::min(anchor.height, next.height) / 2;
      if (next.centreY - anchor.centreY >= halfLine) break;
      ++rowEnd;
    }
    std::stable_sort(
        order.begin() + static_cast<std::ptrdiff_t>(rowStart),
        order.begin() + static_cast<std::ptrdiff_t>(rowEnd),
        [&](std::size_t a, std::size_t b) { return extents[a].left < extents[b].left; });
    result.insert(result.end(), order.begin() + static_cast<std::ptrdiff_t>(rowStart),
                  order.begin() + static_cast<std::ptrdiff_t>(rowEnd));
    rowStart = rowEnd;
  }
  return result;
}

}  // namespace lumenta::ocrd::ppocr
