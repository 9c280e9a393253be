#include "tools/ocrd/ppocr/probability_map.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lumenta::ocrd::ppocr {

std::vector<std::vector<Point>> RegionOutlines(const ProbabilityMap& map, float threshold) {
  std::vector<std::vector<Point>> regions;
  if (map.width <= 0 || map.height <= 0) return regions;
  const int width = map.width, height = map.height;
  const std::size_t count = static_cast<std::size_t>(width) * height;
  // 0: background or already taken; 1: text not yet taken.
  std::vector<std::uint8_t> open(count);
  for (std::size_t i = 0; i < count; ++i) open[i] = map.values[i] > threshold ? 1 : 0;

  std::vector<std::uint32_t> stack;
  std::vector<int> rowMin, rowMax;  // per row of the region, indexed from its first row
  for (int y0 = 0; y0 < height; ++y0) {
    for (int x0 = 0; x0 < width; ++x0) {
      const std::size_t start = static_cast<std::size_t>(y0) * width + x0;
      if (!open[start]) continue;
      open[start] = 0;
      stack.assign(1, static_cast<std::uint32_t>(start));
      // The first pixel is the region's topmost: rows grow downwards only.
      rowMin.assign(1, x0);
      rowMax.assign(1, x0);
      while (!stack.empty()) {
        const std::uint32_t at = stack.back();
        stack.pop_back();
        const int x = static_cast<int>(at % width), y = static_cast<int>(at / width);
        const std::size_t row = static_cast<std::size_t>(y - y0);
        // Each pixel is taken from a neighbour taken before it, so every row between the first
        // and this one has been met already: a new row is always the next one.
        if (row >= rowMin.size()) {
          rowMin.resize(row + 1, x);
          rowMax.resize(row + 1, x);
        }
        rowMin[row] = std::min(rowMin[row], x);
        rowMax[row] = std::max(rowMax[row], x);
        for (int dy = -1; dy <= 1; ++dy) {
          const int ny = y + dy;
          if (ny < 0 || ny >= height) continue;
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx;
            if (nx < 0 || nx >= width) continue;
            const std::size_t next = static_cast<std::size_t>(ny) * width + nx;
            if (open[next]) {
              open[next] = 0;
              stack.push_back(static_cast<std::uint32_t>(next));
            }
          }
        }
      }
      std::vector<Point> outline;
      outline.reserve(rowMin.size() * 2);
      for (std::size_t row = 0; row < rowMin.size(); ++row) {
        const double y = y0 + static_cast<double>(row);
        outline.push_back({static_cast<double>(rowMin[row]), y});
        if (rowMax[row] != rowMin[row]) outline.push_back({static_cast<double>(rowMax[row]), y});
      }
      regions.push_back(std::move(outline));
    }
  }
  return regions;
}

float MeanInside(const ProbabilityMap& map, const Quad& quad) {
  double minX = quad[0].x, maxX = quad[0].x, minY = quad[0].y, maxY = quad[0].y;
  for (const Point& p : quad) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const int x0 = std::clamp(static_cast<int>(std::floor(minX)), 0, map.width - 1);
  const int x1 = std::clamp(static_cast<int>(std::ceil(maxX)), 0, map.width - 1);
  const int y0 = std::clamp(static_cast<int>(std::floor(minY)), 0, map.height - 1);
  const int y1 = std::clamp(static_cast<int>(std::ceil(maxY)), 0, map.height - 1);
  double sum = 0;
  long long inside = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      if (InsideQuad(quad, {static_cast<double>(x), static_cast<double>(y)}, 0.5)) {
        // A probability outside [0, 1] (or none at all) cannot come from the model's sigmoid:
        // it counts as its nearest probability, so the mean stays one.
        const float value = map.at(x, y);
        sum += value > 0 ? std::min(value, 1.0f) : 0.0f;
        ++inside;
      }
    }
  }
  return inside ? static_cast<float>(sum / static_cast<double>(inside)) : 0.0f;
}

std::vector<ScoredBox> BoxesFromMap(const ProbabilityMap& map, const BoxSettings& settings) {
  std::vector<ScoredBox> boxes;
  const std::vector<std::vector<Point>> regions = RegionOutlines(map, settings.pixelThreshold);
  const std::size_t looked = std::min(regions.size(), static_cast<std::size_t>(settings.maxBoxes));
  for (std::size_t i = 0; i < looked; ++i) {
    const RotatedRect core = MinAreaRect(regions[i]);
    if (std::min(core.width, core.height) < settings.minSide) continue;
    const float score = MeanInside(map, Corners(core));
    if (score < settings.boxThreshold) continue;
    const RotatedRect line = Unclip(core, settings.unclipRatio);
    if (std::min(line.width, line.height) < settings.minSide + 2) continue;
    boxes.push_back({Corners(line), score});
  }
  return boxes;
}

}  // namespace lumenta::ocrd::ppocr
