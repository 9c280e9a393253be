#include "tools/ocrd/ppocr/image.h"

#include <algorithm>
#include <cmath>

namespace lumenta::ocrd::ppocr {
namespace {

// Where destination column or row `i` samples the source, with pixel centres aligned: the two
// source indices and the weight of the second.
struct Tap {
  int first = 0;
  int second = 0;
  float weight = 0;
};

std::vector<Tap> Taps(int destination, int source) {
  std::vector<Tap> taps(static_cast<std::size_t>(std::max(destination, 0)));
  const double scale = static_cast<double>(source) / destination;
  for (int i = 0; i < destination; ++i) {
    const double at = std::max(0.0, (i + 0.5) * scale - 0.5);
    const int first = std::min(static_cast<int>(at), source - 1);
    taps[static_cast<std::size_t>(i)] = {first, std::min(first + 1, source - 1),
                                         static_cast<float>(at - first)};
  }
  return taps;
}

// Calls out(x, y, rgb) for every pixel of `image` scaled to width x height.
template <class Out>
void ScaleBilinear(const RgbImage& image, int width, int height, Out&& out) {
  const std::vector<Tap> columns = Taps(width, image.width);
  const std::vector<Tap> rows = Taps(height, image.height);
  for (int y = 0; y < height; ++y) {
    const Tap& row = rows[static_cast<std::size_t>(y)];
    const std::uint8_t* upper = image.Row(row.first);
    const std::uint8_t* lower = image.Row(row.second);
    for (int x = 0; x < width; ++x) {
      const Tap& column = columns[static_cast<std::size_t>(x)];
      const std::size_t left = static_cast<std::size_t>(column.first) * 3;
      const std::size_t right = static_cast<std::size_t>(column.second) * 3;
      float rgb[3];
      for (int c = 0; c < 3; ++c) {
        const float top = upper[left + c] + (upper[right + c] - upper[left + c]) * column.weight;
        const float bottom = lower[left + c] + (lower[right + c] - lower[left + c]) * column.weight;
        rgb[c] = top + (bottom - top) * row.weight;
      }
      out(x, y, rgb);
    }
  }
}

std::uint8_t ToByte(float value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0l, 255l));
}

}  // namespace

RgbImage ResizeBilinear(const RgbImage& image, int width, int height) {
  if (image.empty() || width <= 0 || height <= 0) return {};
  RgbImage scaled(width, height);
  ScaleBilinear(image, width, height, [&scaled](int x, int y, const float* rgb) {
    std::uint8_t* pixel = scaled.Row(y) + static_cast<std::size_t>(x) * 3;
    for (int c = 0; c < 3; ++c) pixel[c] = ToByte(rgb[c]);
  });
  return scaled;
}

void ScaleIntoPlanes(const RgbImage& image, int scaledWidth, int height, int planeWidth,
                     const Normalisation& normalisation, float* out) {
  const std::size_t plane = static_cast<std::size_t>(planeWidth) * height;
  std::fill(out, out + plane * 3, 0.0f);
  if (image.empty() || scaledWidth <= 0 || height <= 0) return;
  scaledWidth = std::min(scaledWidth, planeWidth);
  float scale[3], offset[3];
  for (int c = 0; c < 3; ++c) {
    scale[c] = 1.0f / (255.0f * normalisation.std[c]);
    offset[c] = -normalisation.mean[c] / normalisation.std[c];
  }
  ScaleBilinear(image, scaledWidth, height, [&](int x, int y, const float* rgb) {
    const std::size_t at = static_cast<std::size_t>(y) * planeWidth + x;
    for (int c = 0; c < 3; ++c) out[plane * c + at] = rgb[c] * scale[c] + offset[c];
  });
}

RgbImage CropQuad(const RgbImage& image, const Quad& corners) {
  if (image.empty()) return {};
  const int width = static_cast<int>(QuadWidth(corners));
  const int height = static_cast<int>(QuadHeight(corners));
  if (width < 1 || height < 1) return {};

  // The projective map of the unit square onto the quad (0,0 -> corner 0, 1,0 -> corner 1,
  // 1,1 -> corner 2, 0,1 -> corner 3); affine when the quad is a parallelogram.
  const auto [x0, y0] = corners[0];
  const auto [x1, y1] = corners[1];
  const auto [x2, y2] = corners[2];
  const auto [x3, y3] = corners[3];
  const double sx = x0 - x1 + x2 - x3, sy = y0 - y1 + y2 - y3;
  const double dx1 = x1 - x2, dx2 = x3 - x2, dy1 = y1 - y2, dy2 = y3 - y2;
  const double det = dx1 * dy2 - dx2 * dy1;
  if (std::abs(det) < 1e-9) return {};
  const double g = (sx * dy2 - dx2 * sy) / det;
  const double h = (dx1 * sy - sx * dy1) / det;
  const double a = x1 - x0 + g * x1, b = x3 - x0 + h * x3, c = x0;
  const double d = y1 - y0 + g * y1, e = y3 - y0 + h * y3, f = y0;

  RgbImage crop(width, height);
  const int maxX = image.width - 1, maxY = image.height - 1;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* out = crop.Row(y);
    const double v = static_cast<double>(y) / height;
    for (int x = 0; x < width; ++x, out += 3) {
      const double u = static_cast<double>(x) / width;
      const double w = g * u + h * v + 1;
      const double sxp = std::clamp((a * u + b * v + c) / w, 0.0, static_cast<double>(maxX));
      const double syp = std::clamp((d * u + e * v + f) / w, 0.0, static_cast<double>(maxY));
      const int left = static_cast<int>(sxp), top = static_cast<int>(syp);
      const int right = std::min(left + 1, maxX), bottom = std::min(top + 1, maxY);
      const float fx = static_cast<float>(sxp - left), fy = static_cast<float>(syp - top);
      const std::uint8_t* upper = image.Row(top);
      const std::uint8_t* lower = image.Row(bottom);
      for (int ch = 0; ch < 3; ++ch) {
        const float t = upper[left * 3 + ch] + (upper[right * 3 + ch] - upper[left * 3 + ch]) * fx;
        const float l = lower[left * 3 + ch] + (lower[right * 3 + ch] - lower[left * 3 + ch]) * fx;
        out[ch] = ToByte(t + (l - t) * fy);
      }
    }
  }
  if (height < width * 3 / 2.0) return crop;

  // A quarter turn counter-clockwise: the right column becomes the top row.
  RgbImage turned(height, width);
  for (int y = 0; y < turned.height; ++y) {
    std::uint8_t* out = turned.Row(y);
    for (int x = 0; x < turned.width; ++x, out += 3) {
      const std::uint8_t* in = crop.Row(x) + static_cast<std::size_t>(width - 1 - y) * 3;
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
    }
  }
  return turned;
}

RgbImage RotateHalfTurn(const RgbImage& image) {
  RgbImage turned(image.width, image.height);
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t from = (count - 1 - i) * 3;
    turned.pixels[i * 3] = image.pixels[from];
    turned.pixels[i * 3 + 1] = image.pixels[from + 1];
    turned.pixels[i * 3 + 2] = image.pixels[from + 2];
  }
  return turned;
}

}  // namespace lumenta::ocrd::ppocr
