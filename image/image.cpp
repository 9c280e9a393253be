#include "image/image.h"

#include <algorithm>
#include <atomic>

namespace lumenta::image {
namespace {

std::atomic<std::int64_t> g_pixelLimit{kMaxPixels};

}  // namespace

bool SizeAllowed(std::int64_t width, std::int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= g_pixelLimit.load(std::memory_order_relaxed);
}

ScopedPixelLimit::ScopedPixelLimit(std::int64_t pixels)
    : previous_(g_pixelLimit.load(std::memory_order_relaxed)) {
  g_pixelLimit.store(std::clamp<std::int64_t>(pixels, 0, previous_), std::memory_order_relaxed);
}

ScopedPixelLimit::~ScopedPixelLimit() {
  g_pixelLimit.store(previous_, std::memory_order_relaxed);
}

Image Image::Create(int width, int height) {
  Image image;
  if (!SizeAllowed(width, height)) return image;
  // calloc: large pictures get zero pages from the system without being written twice.
  auto* pixels = static_cast<std::uint8_t*>(
      std::calloc(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 4));
  if (!pixels) return image;
  image.pixels_.reset(pixels);
  image.width_ = width;
  image.height_ = height;
  return image;
}

std::uint32_t Image::Pixel(int x, int y) const {
  const std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 4;
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void Image::SetPixel(int x, int y, std::uint32_t argb) {
  std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * 4;
  p[0] = static_cast<std::uint8_t>(argb);
  p[1] = static_cast<std::uint8_t>(argb >> 8);
  p[2] = static_cast<std::uint8_t>(argb >> 16);
  p[3] = static_cast<std::uint8_t>(argb >> 24);
}

}  // namespace lumenta::image
