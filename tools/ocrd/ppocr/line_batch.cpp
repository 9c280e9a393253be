#include "tools/ocrd/ppocr/line_batch.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "tools/ocrd/ppocr/image.h"

namespace lumenta::ocrd::ppocr {

int ScaledLineWidth(int width, int height, int maxWidth) {
  if (width <= 0 || height <= 0) return 1;
  const double scaled = std::ceil(static_cast<double>(kLineHeight) * width / height);
  return static_cast<int>(std::clamp(scaled, 1.0, static_cast<double>(maxWidth)));
}

std::vector<std::vector<std::size_t>> BatchesByShape(const std::vector<RgbImage>& lines,
                                                     const BatchLimits& limits) {
  std::vector<std::size_t> order(lines.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  auto ratio = [&lines](std::size_t i) {
    return lines[i].height > 0 ? static_cast<double>(lines[i].width) / lines[i].height : 0.0;
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return ratio(a) < ratio(b); });
  std::vector<std::vector<std::size_t>> batches;
  int widest = 0;
  for (std::size_t index : order) {
    // Sorted by ratio: this line is the widest of its batch so far.
    const int width = std::max(limits.minWidth,
                               ScaledLineWidth(lines[index].width, lines[index].height, 1 << 20));
    const bool fits = !batches.empty() && batches.back().size() < limits.maxLines &&
                      static_cast<long long>(std::max(widest, width)) *
                              static_cast<long long>(batches.back().size() + 1) <=
                          limits.maxColumns;
    if (!fits) {
      batches.emplace_back();
      widest = 0;
    }
    batches.back().push_back(index);
    widest = std::max(widest, width);
  }
  return batches;
}

void FillLineBatch(const std::vector<RgbImage>& lines, const std::vector<std::size_t>& indices,
                   int minWidth, int planeWidth, LineBatch& batch) {
  constexpr int kUnbounded = 1 << 20;
  int width = planeWidth;
  if (width <= 0) {
    width = minWidth;
    for (std::size_t i : indices) {
      width = std::max(width, ScaledLineWidth(lines[i].width, lines[i].height, kUnbounded));
    }
  }
  const std::size_t perLine = static_cast<std::size_t>(3) * kLineHeight * width;
  batch.values.resize(perLine * indices.size());
  batch.shape[0] = static_cast<std::int64_t>(indices.size());
  batch.shape[3] = width;
  for (std::size_t k = 0; k < indices.size(); ++k) {
    const RgbImage& line = lines[indices[k]];
    ScaleIntoPlanes(line, ScaledLineWidth(line.width, line.height, width), kLineHeight, width,
                    kSymmetricNormalisation, batch.values.data() + k * perLine);
  }
}

}  // namespace lumenta::ocrd::ppocr
