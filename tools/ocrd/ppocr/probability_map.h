#pragma once
// From the text detector's probability map to text boxes (differentiable binarisation's
// post-processing): threshold the map, take each connected region, fit the rectangle of least
// area around it, keep it when the mean probability inside is high enough, and grow it back from
// the shrunken core the detector marks to the whole line.
#include <vector>

#include "tools/ocrd/ppocr/geometry.h"

namespace lumenta::ocrd::ppocr {

struct BoxSettings {
  float pixelThreshold = 0.3f;  // a pixel is text when its probability is above this
  float boxThreshold = 0.6f;    // a region is kept when the mean probability in its box is this
  // How far a core is grown back (see Unclip). The usual 1.5 cuts off a line's last full stop
  // now and then; 1.7 reads the benchmark corpus best (1.5 to 2.1 tried).
  double unclipRatio = 1.7;
  int maxBoxes = 1000;  // regions looked at, top to bottom: a bound for noise pictures
  double minSide = 3;   // shorter side of a core's rectangle, in map pixels
};

struct ScoredBox {
  Quad corners;  // in map coordinates
  float score = 0;
};

// A probability map of `width` x `height` values, row by row.
struct ProbabilityMap {
  const float* values = nullptr;
  int width = 0;
  int height = 0;
  float at(int x, int y) const { return values[static_cast<std::size_t>(y) * width + x]; }
};

// The 8-connected regions of pixels above `threshold`, each as the leftmost and rightmost pixel
// centre of every row it covers (all a convex hull needs), in the order of their first pixel
// (top to bottom, left to right).
[[nodiscard]] std::vector<std::vector<Point>> RegionOutlines(const ProbabilityMap& map,
                                                             float threshold);

// Mean probability over the map pixels whose centres lie inside `quad` (or on its border);
// values outside [0, 1] count as the nearest end, a missing one (NaN) as 0.
[[nodiscard]] float MeanInside(const ProbabilityMap& map, const Quad& quad);

// The text boxes of a probability map, in map coordinates.
[[nodiscard]] std::vector<ScoredBox> BoxesFromMap(const ProbabilityMap& map,
                                                  const BoxSettings& settings);

}  // namespace lumenta::ocrd::ppocr
