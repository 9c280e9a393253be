#pragma once
// A decoded picture as the engines read it: 8-bit RGB, rows top to bottom, no padding.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumenta::ocrd {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 3 bytes

  RgbImage() = default;
  RgbImage(int w, int h)
      : width(w),
        height(h),
        pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3) {}

  bool empty() const { return width <= 0 || height <= 0; }
  std::uint8_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width * 3; }
  const std::uint8_t* Row(int y) const {
    return pixels.data() + static_cast<std::size_t>(y) * width * 3;
  }
};

}  // namespace lumenta::ocrd
