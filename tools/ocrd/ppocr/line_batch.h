#pragma once
// Lines cut out of a picture, scaled to the height a line model reads (48 pixels) and laid side
// by side into one batch tensor, padded on the right to the widest of them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/ocrd/rgb_image.h"

namespace lumenta::ocrd::ppocr {

inline constexpr int kLineHeight = 48;

// The width a line of `width` x `height` pixels is scaled to at the line height, at most
// `maxWidth`.
[[nodiscard]] int ScaledLineWidth(int width, int height, int maxWidth);

// Groups of line indices, lines of similar shape together (sorted by width to height ratio,
// narrowest first) so that little of a batch is padding. A batch holds at most `maxLines` lines
// and, padded to its widest line's scaled width (at least `minWidth`), at most `maxColumns`
// columns in all: batching short lines saves a run each, while wide lines cost the same per
// line alone and only take more memory together.
struct BatchLimits {
  std::size_t maxLines = 6;
  int maxColumns = 1 << 30;
  int minWidth = 1;
};
[[nodiscard]] std::vector<std::vector<std::size_t>> BatchesByShape(
    const std::vector<RgbImage>& lines, const BatchLimits& limits);

// The batch tensor of `lines[indices]`: N x 3 x 48 x width, each line scaled to the line height,
// normalised to [-1, 1] and padded with zeros. `width` is `planeWidth` when given (> 0), else the
// widest line's scaled width but at least `minWidth`.
struct LineBatch {
  std::vector<float> values;
  std::int64_t shape[4] = {0, 3, kLineHeight, 0};
};
void FillLineBatch(const std::vector<RgbImage>& lines, const std::vector<std::size_t>& indices,
                   int minWidth, int planeWidth, LineBatch& batch);

}  // namespace lumenta::ocrd::ppocr
