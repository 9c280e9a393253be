#pragma once
// Icon (.ico) and cursor (.cur) files: a directory of images, each a PNG file or a
// device-independent bitmap with a 1-bit AND mask. The largest image is shown: most pixels
// first, then most bits per pixel, then the first in the directory; when it cannot be decoded
// the next best one is tried.
#include <string_view>

#include "image/image.h"

namespace lumenta::image {

// Straight-alpha BGRA; empty when the file is no icon or cursor directory or none of its
// images decodes.
[[nodiscard]] Image DecodeIcon(std::string_view bytes);

}  // namespace lumenta::image
