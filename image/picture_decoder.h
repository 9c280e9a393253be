#pragma once
// Decoding the bytes of a picture box: the kind is told by the leading signature
// (picture_kind.h), then the decoder of that kind runs. Nothing here changes or keeps the bytes.
#include <string_view>

#include "image/image.h"
#include "image/picture_kind.h"

namespace lumenta::image {

// The picture at its stored size, straight-alpha BGRA; empty for bytes that show no picture.
[[nodiscard]] Image DecodePicture(std::string_view bytes);

// The same for a kind already detected.
[[nodiscard]] Image DecodePictureOfKind(PictureKind kind, std::string_view bytes);

}  // namespace lumenta::image
