#pragma once
// The device-independent bitmap inside BMP files and icon/cursor entries: an information header
// (the 12-byte core header of OS/2 1.x, the 16- to 64-byte headers of OS/2 2.x, and the 40-,
// 52-, 56-, 108- and 124-byte Windows headers), an optional colour table and the pixel rows.
//   - 1, 4 and 8 bits per pixel through the colour table; 16, 24 and 32 bits direct;
//   - run-length encoded 8-bit and 4-bit pixels (pixels the runs skip stay transparent);
//   - bit-field masks (in the header or right after a 40-byte one), alpha mask included;
//   - bottom-up rows, or top-down when the height is negative;
//   - embedded JPEG or PNG data (compression 4 and 5).
// A 32-bit picture whose alpha bytes are all zero was written without alpha and is opaque.
#include <cstddef>

#include "image/byte_view.h"
#include "image/image.h"

namespace lumenta::image {

struct DibLayout {
  // Where the pixel rows start, counted from the start of the header; 0 means right after the
  // colour table (icon entries, or a BMP file whose offset field points nowhere sensible).
  std::size_t pixelOffset = 0;
  // An icon or cursor entry: the header's height covers the colour rows and the 1-bit AND mask
  // below them, and a set mask bit makes its pixel transparent (unless the picture has alpha).
  bool iconMask = false;
};

// Straight-alpha BGRA; empty when the header is unknown or inconsistent, the size too large,
// or no row is present. Rows missing at the end of the data stay transparent.
[[nodiscard]] Image DecodeDib(ByteView dib, const DibLayout& layout);

struct DibInfo {
  int width = 0;
  int height = 0;  // of the picture (half the header's height for an icon entry)
  int bitsPerPixel = 0;
};

// The size and depth a DIB header states; false when it is not a header DecodeDib knows.
[[nodiscard]] bool ReadDibInfo(ByteView dib, bool iconMask, DibInfo& info);

}  // namespace lumenta::image
