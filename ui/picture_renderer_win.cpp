#include "ui/picture_renderer_win.h"

#include "image/picture_kind.h"
#include "image/preview_surface_win.h"

namespace lumenta::ui {
namespace {

class FittedPicture final : public DecodedPicture {
 public:
  FittedPicture(std::string_view bytes, PreviewMaker make)
      : bytes_(bytes), make_(std::move(make)) {}

  void Draw(HDC dc, const RECT& client) override {
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width != width_ || height != height_) {
      width_ = width;
      height_ = height;
      // Bytes that do not decode leave no surface: nothing is drawn, and nothing is tried
      // again until the size changes.
      surface_ = image::PreviewSurface::Create(make_(bytes_.view(), width, height));
    }
    if (surface_) surface_->Paint(dc, client.left, client.top);
  }

 private:
  const ByteBuffer bytes_;
  const PreviewMaker make_;  // a copy: the picture may outlive a renderer that is replaced
  int width_ = -1;
  int height_ = -1;
  std::unique_ptr<image::PreviewSurface> surface_;
};

}  // namespace

std::unique_ptr<DecodedPicture> PreviewRenderer::Decode(std::string_view bytes) {
  if (image::DetectPictureKind(bytes) == image::PictureKind::kNone) return nullptr;
  return std::make_unique<FittedPicture>(bytes, make_);
}

PictureRenderer& ProgramPictureRenderer() {
  static PreviewRenderer renderer;
  return renderer;
}

}  // namespace lumenta::ui
