#pragma once
// Properties every decoded picture keeps, whatever the input was.
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "image/image.h"

namespace lumenta::fuzz {

// Pictures of up to 256 x 256 pixels: every decoder path is reached at that size, and a target
// that decodes megapixels under the sanitizers manages a few executions a second. Larger claimed
// sizes take the same turning-away path as pictures beyond the program's own limits.
inline const image::ScopedPixelLimit kPixelLimit{256 * 256};

// An empty picture has no size; any other is within the limits and every pixel can be read
// (the sanitizers see a read past the allocation).
inline void CheckPicture(const image::Image& picture) {
  if (picture.empty()) {
    Require(picture.width() == 0 && picture.height() == 0);
    return;
  }
  Require(image::SizeAllowed(picture.width(), picture.height()));
  std::uint32_t sum = 0;
  const std::uint8_t* last = picture.Row(picture.height() - 1);
  for (std::size_t i = 0; i < picture.stride(); ++i) sum += last[i];
  Require(sum <= 255u * picture.stride());
}

}  // namespace lumenta::fuzz
