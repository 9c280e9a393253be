#pragma once
// What the PP-OCR pipeline does to pictures: scaling, straightening a text box into a line,
// turning, and normalising into the planar float tensors the models read.
#include "tools/ocrd/ppocr/geometry.h"
#include "tools/ocrd/rgb_image.h"

namespace lumenta::ocrd::ppocr {

// Scales to `width` x `height` with bilinear sampling, pixel centres aligned (as image libraries
// scale, so that the models see what they were trained on).
[[nodiscard]] RgbImage ResizeBilinear(const RgbImage& image, int width, int height);

// The picture inside `corners` (clockwise from the top left of the text) straightened into a
// rectangle as wide as the longer of its top and bottom sides and as high as the longer of its
// left and right sides, through the perspective transform that maps the four corners onto the
// rectangle's; points outside the picture repeat its edge. A result at least 1.5 times as high as
// wide is turned a quarter counter-clockwise: a tall box holds vertical text or a line read
// sideways, and the recogniser reads left to right. An empty image for a degenerate quad.
[[nodiscard]] RgbImage CropQuad(const RgbImage& image, const Quad& corners);

// The picture turned half a turn (for lines the angle classifier finds upside down).
[[nodiscard]] RgbImage RotateHalfTurn(const RgbImage& image);

// Normalises into `out` (planar float, channel-major: R plane, G plane, B plane) at the given
// plane width, from `image` scaled to `scaledWidth` x `height` with bilinear sampling; the columns
// from `scaledWidth` to `planeWidth` are zero. Each channel becomes (value / 255 - mean) / std.
struct Normalisation {
  float mean[3];
  float std[3];
};
inline constexpr Normalisation kImageNetNormalisation{{0.485f, 0.456f, 0.406f},
                                                      {0.229f, 0.224f, 0.225f}};
inline constexpr Normalisation kSymmetricNormalisation{{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}};
void ScaleIntoPlanes(const RgbImage& image, int scaledWidth, int height, int planeWidth,
                     const Normalisation& normalisation, float* out);

}  // namespace lumenta::ocrd::ppocr
