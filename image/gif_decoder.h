#pragma once
// GIF pictures (87a and 89a): the first image of the file, with its transparent colour, drawn on
// a transparent canvas of the logical screen's size at the image's position. A first image
// larger than the logical screen sets the canvas size itself, at the top left, as browsers do.
#include <string_view>

#include "image/image.h"

namespace lumenta::image {

// Straight-alpha BGRA. Empty when the file is not a GIF, holds no image, has no colour table or
// is too large. Image data that ends early or turns corrupt gives the pixels decoded before that
// point, the rest transparent.
[[nodiscard]] Image DecodeGif(std::string_view bytes);

}  // namespace lumenta::image
