#include "image/picture_kind.h"

#include <cstdint>

namespace lumenta::image {

PictureKind DetectPictureKind(std::string_view bytes) {
  if (bytes.size() < 8) return PictureKind::kNone;
  const auto b = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
  const auto word = [&](std::size_t i) { return b(i) | b(i + 1) << 8; };
  if (b(0) == 0xFF && b(1) == 0xD8) return PictureKind::kJpeg;
  if (b(0) == 'B' && b(1) == 'M') return PictureKind::kBmp;
  if (b(0) == 0x89 && b(1) == 'P' && b(2) == 'N' && b(3) == 'G') return PictureKind::kPng;
  if (bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a") return PictureKind::kGif;
  if (word(0) == 0 && word(4) >= 1) {
    if (word(2) == 1) return PictureKind::kIcon;
    if (word(2) == 2) return PictureKind::kCursor;
  }
  if (b(0) == 10 && b(2) == 1) {
    const int version = b(1);
    const int bitsPerPixel = b(3);
    if ((version <= 5 && bitsPerPixel == 8) || (version == 3 && bitsPerPixel == 1)) {
      return PictureKind::kPcx;
    }
  }
  return PictureKind::kNone;
}

}  // namespace lumenta::image
