#pragma once
// What a picture box shows: the picture centred at its natural size when it fits the box,
// otherwise scaled down with its aspect ratio kept until it fits, and centred. The reduction
// averages areas (area_average.h); a JPEG is first reduced by libjpeg's DCT scaling to the
// smallest size not below the one it is shown at, which spares decoding most of its pixels.
#include <string_view>

#include "image/image.h"

namespace lumenta::image {

struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Where a width x height picture is drawn in a boxWidth x boxHeight box. A scaled side is
// rounded to the nearest pixel (at least 1); the free space is split with the odd pixel on the
// right or bottom. All zero when the picture or the box has no area.
[[nodiscard]] Placement FitPicture(int width, int height, int boxWidth, int boxHeight);

struct Preview {
  Image pixels;  // premultiplied BGRA, the size it is drawn at; empty: nothing to draw
  int x = 0;     // its place in the box
  int y = 0;
};

// Decodes `bytes` and fits the picture into the box. Empty pixels for bytes that show no
// picture or a box without area.
[[nodiscard]] Preview MakePreview(std::string_view bytes, int boxWidth, int boxHeight);

}  // namespace lumenta::image
