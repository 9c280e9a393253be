#pragma once
// Which kind of image file a byte string holds, told by its leading bytes alone. The picture box
// decodes by this answer and nothing else: a file name or extension is never consulted.
#include <string_view>

namespace lumenta::image {

enum class PictureKind { kNone, kJpeg, kBmp, kPng, kGif, kIcon, kCursor, kPcx };

// The signatures, checked in this order on at least 8 bytes:
//   JPEG   FF D8
//   BMP    "BM"
//   PNG    89 50 4E 47
//   GIF    "GIF87a" or "GIF89a"
//   icon   reserved word 0, type word 1, image count at least 1
//   cursor reserved word 0, type word 2, image count at least 1
//   PCX    byte 0 is 10, the encoding byte (2) is 1, and either the version (byte 1) is at most 5
//          with 8 bits per pixel (byte 3), or the version is 3 with 1 bit per pixel
// Fewer than 8 bytes, or anything else, is kNone.
[[nodiscard]] PictureKind DetectPictureKind(std::string_view bytes);

}  // namespace lumenta::image
