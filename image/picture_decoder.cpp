#include "image/picture_decoder.h"

#include "image/bmp_decoder.h"
#include "image/gif_decoder.h"
#include "image/icon_decoder.h"
#include "image/jpeg_decoder.h"
#include "image/pcx_decoder.h"
#include "image/png_decoder.h"

namespace lumenta::image {

Image DecodePictureOfKind(PictureKind kind, std::string_view bytes) {
  switch (kind) {
    case PictureKind::kJpeg:
      return DecodeJpeg(bytes);
    case PictureKind::kBmp:
      return DecodeBmp(bytes);
    case PictureKind::kPng:
      return DecodePng(bytes);
    case PictureKind::kGif:
      return DecodeGif(bytes);
    case PictureKind::kIcon:
    case PictureKind::kCursor:
      return DecodeIcon(bytes);
    case PictureKind::kPcx:
      return DecodePcx(bytes);
    case PictureKind::kNone:
      break;
  }
  return Image();
}

Image DecodePicture(std::string_view bytes) {
  return DecodePictureOfKind(DetectPictureKind(bytes), bytes);
}

}  // namespace lumenta::image
