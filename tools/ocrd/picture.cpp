#include "tools/ocrd/picture.h"

#include <leptonica/allheaders.h>

namespace lumenta::ocrd {

void PixDeleter::operator()(Pix* pix) const { pixDestroy(&pix); }

PictureError ReadPicture(std::string_view bytes, PixPtr& picture) {
  picture.reset();
  const auto* data = reinterpret_cast<const l_uint8*>(bytes.data());
  l_int32 format = 0, width = 0, height = 0, bitsPerSample = 0, samples = 0, colormap = 0;
  if (bytes.size() < 8 || pixReadHeaderMem(data, bytes.size(), &format, &width, &height,
                                           &bitsPerSample, &samples, &colormap) != 0) {
    return PictureError::kFormat;
  }
  if (width < kMinSide || height < kMinSide || width > kMaxSide || height > kMaxSide) {
    return PictureError::kSize;
  }
  PixPtr pix(pixReadMem(data, bytes.size()));
  if (!pix) return PictureError::kFormat;
  // The header and the decoded picture can disagree for damaged files: check again.
  if (pixGetWidth(pix.get()) != width || pixGetHeight(pix.get()) != height) {
    return PictureError::kFormat;
  }
  if (pixGetDepth(pix.get()) == 32 && pixGetSpp(pix.get()) == 4) {
    PixPtr flat(pixAlphaBlendUniform(pix.get(), 0xFFFFFF00));
    if (!flat) return PictureError::kFormat;
    pix = std::move(flat);
  }
  picture = std::move(pix);
  return PictureError::kNone;
}

}  // namespace lumenta::ocrd
