#pragma once
// A decoded picture: 32-bit pixels, four bytes each in the order blue, green, red, alpha (the
// layout of a top-down 32-bit Windows DIB), rows of width * 4 bytes without padding, top row
// first. Whether the colour bytes are straight or premultiplied by alpha is said by the code
// that makes the picture: decoders give straight alpha, the preview gives premultiplied.
//
// Every decoder asks SizeAllowed() before it allocates, so a file that claims a huge size is
// turned away before any memory is taken for it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace lumenta::image {

// More than this many pixels on a side, or more than kMaxPixels in all, is no picture.
inline constexpr int kMaxSide = 16384;
inline constexpr std::int64_t kMaxPixels = 64'000'000;

// True for a size from 1 x 1 up to the limits above (or the lower pixel limit in force).
[[nodiscard]] bool SizeAllowed(std::int64_t width, std::int64_t height);

// Lowers the pixel limit, for every thread, for as long as it lives; never raises it. The fuzz
// targets keep their pictures small with it: a decode of a few megapixels under the sanitizers
// takes most of a second and explores nothing that a small picture does not.
class ScopedPixelLimit {
 public:
  explicit ScopedPixelLimit(std::int64_t pixels);
  ~ScopedPixelLimit();
  ScopedPixelLimit(const ScopedPixelLimit&) = delete;
  ScopedPixelLimit& operator=(const ScopedPixelLimit&) = delete;

 private:
  std::int64_t previous_;
};

class Image {
 public:
  Image() = default;

  // A picture of the given size with every byte zero (transparent black). Empty when the size is
  // not allowed or the memory cannot be had; never throws.
  [[nodiscard]] static Image Create(int width, int height);

  [[nodiscard]] bool empty() const { return !pixels_; }
  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }
  [[nodiscard]] std::size_t stride() const { return static_cast<std::size_t>(width_) * 4; }

  [[nodiscard]] std::uint8_t* data() { return pixels_.get(); }
  [[nodiscard]] const std::uint8_t* data() const { return pixels_.get(); }
  [[nodiscard]] std::uint8_t* Row(int y) { return pixels_.get() + stride() * y; }
  [[nodiscard]] const std::uint8_t* Row(int y) const { return pixels_.get() + stride() * y; }

  // One pixel as 0xAARRGGBB.
  [[nodiscard]] std::uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, std::uint32_t argb);

 private:
  struct Free {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<std::uint8_t[], Free> pixels_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace lumenta::image
