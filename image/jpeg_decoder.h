#pragma once
// JPEG pictures through libjpeg-turbo: baseline and progressive, grey, YCbCr and RGB, CMYK and
// YCCK (with the inverted samples Adobe applications write), optionally reduced while decoding
// by the library's DCT scaling, which is far cheaper than decoding every pixel and shrinking
// afterwards.
#include <cstdint>
#include <string_view>

#include "image/image.h"

namespace lumenta::image {

// Receives the rows of a JPEG as libjpeg produces them, so that a caller can shrink them on
// the fly instead of holding the whole picture. The calls come from inside the library's
// error-handling scope: they must not throw.
class JpegRowSink {
 public:
  virtual ~JpegRowSink() = default;
  // The picture's stored size (already known to be within the limits); returns the scale
  // wanted in eighths, 1 to 8 (8 is the stored size).
  virtual int ChooseScale(int width, int height) noexcept = 0;
  // The size of the rows that follow; false stops the decode.
  virtual bool Begin(int width, int height) noexcept = 0;
  // Where row y may be written directly (width * 4 bytes), or nullptr for the decoder's own
  // buffer. Used for pictures libjpeg can deliver as BGRA itself (not CMYK ones).
  virtual std::uint8_t* RowDestination(int) noexcept { return nullptr; }
  // Row y (0 is the top), `width` opaque BGRA pixels; `bgra` is the row's destination when
  // RowDestination gave one.
  virtual void Row(int y, const std::uint8_t* bgra) noexcept = 0;
};

// Decodes into `sink` and returns the number of rows delivered; a complete decode delivers the
// height given to Begin. Not a JPEG, too large, or corrupt before the first row: 0. Data that
// ends early is finished by libjpeg as if the missing part were empty (grey).
[[nodiscard]] int DecodeJpegRows(std::string_view bytes, JpegRowSink& sink);

// The whole picture at its stored size, opaque BGRA; empty when nothing decoded. A picture that
// broke off with an error keeps the rows delivered before it, the rest transparent.
[[nodiscard]] Image DecodeJpeg(std::string_view bytes);

// The smallest DCT scale (in eighths) at which a width x height picture comes out at least
// minWidth x minHeight; 8 when no reduction is possible.
[[nodiscard]] int JpegScaleAtLeast(int width, int height, int minWidth, int minHeight);

// libjpeg's size of a dimension at `eighths` (rounded up).
[[nodiscard]] int JpegScaledSize(int size, int eighths);

}  // namespace lumenta::image
