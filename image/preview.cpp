#include "image/preview.h"

#include <algorithm>

#include "image/area_average.h"
#include "image/jpeg_decoder.h"
#include "image/picture_decoder.h"

namespace lumenta::image {
namespace {

int RoundedRatio(std::int64_t a, std::int64_t b, std::int64_t c) {
  // a * b / c rounded to nearest, at least 1.
  return static_cast<int>(std::max<std::int64_t>(1, (a * b * 2 + c) / (c * 2)));
}

// Streams the rows of a JPEG, reduced by DCT scaling, into the area-averaging scaler.
class JpegPreviewSink final : public JpegRowSink {
 public:
  JpegPreviewSink(int boxWidth, int boxHeight) : boxWidth_(boxWidth), boxHeight_(boxHeight) {}

  int ChooseScale(int width, int height) noexcept override {
    placement_ = FitPicture(width, height, boxWidth_, boxHeight_);
    return JpegScaleAtLeast(width, height, placement_.width, placement_.height);
  }
  bool Begin(int width, int height) noexcept override {
    return scaler_.Start(width, height, std::min(placement_.width, width),
                         std::min(placement_.height, height));
  }
  void Row(int, const std::uint8_t* bgra) noexcept override { scaler_.PushRow(bgra); }

  const Placement& placement() const { return placement_; }
  Image Finish() { return scaler_.Finish(); }

 private:
  int boxWidth_;
  int boxHeight_;
  Placement placement_;
  AreaAverageScaler scaler_;
};

}  // namespace

Placement FitPicture(int width, int height, int boxWidth, int boxHeight) {
  Placement p;
  if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) return p;
  if (width <= boxWidth && height <= boxHeight) {
    p.width = width;
    p.height = height;
  } else if (static_cast<std::int64_t>(width) * boxHeight >=
             static_cast<std::int64_t>(height) * boxWidth) {
    p.width = boxWidth;
    p.height = std::min(boxHeight, RoundedRatio(height, boxWidth, width));
  } else {
    p.height = boxHeight;
    p.width = std::min(boxWidth, RoundedRatio(width, boxHeight, height));
  }
  p.x = (boxWidth - p.width) / 2;
  p.y = (boxHeight - p.height) / 2;
  return p;
}

Preview MakePreview(std::string_view bytes, int boxWidth, int boxHeight) {
  Preview preview;
  if (boxWidth <= 0 || boxHeight <= 0) return preview;
  const PictureKind kind = DetectPictureKind(bytes);
  if (kind == PictureKind::kNone) return preview;
  Placement placement;
  if (kind == PictureKind::kJpeg) {
    JpegPreviewSink sink(boxWidth, boxHeight);
    if (DecodeJpegRows(bytes, sink) == 0) return preview;
    preview.pixels = sink.Finish();
    placement = sink.placement();
  } else {
    const Image picture = DecodePictureOfKind(kind, bytes);
    if (picture.empty()) return preview;
    placement = FitPicture(picture.width(), picture.height(), boxWidth, boxHeight);
    preview.pixels = ScaleAreaAverage(picture, placement.width, placement.height);
  }
  if (preview.pixels.empty()) return preview;
  preview.x = placement.x;
  preview.y = placement.y;
  return preview;
}

}  // namespace lumenta::image
