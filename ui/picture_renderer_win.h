#pragma once
// What the picture boxes draw with: the bytes are told apart by their signature, decoded and
// fitted to the box (image/preview.h) at the first paint, and the result is kept as a GDI bitmap
// (image/preview_surface_win.h). Later paints of the same size only blend that bitmap; a change
// of the box's size (another DPI) fits the picture again.
#include <functional>
#include <memory>
#include <string_view>

#include "image/preview.h"
#include "ui/picture_box_win.h"

namespace lumenta::ui {

// Makes the preview of picture bytes for a box of the given size (MakePreview by default; tests
// put a counting one in).
using PreviewMaker =
    std::function<image::Preview(std::string_view bytes, int boxWidth, int boxHeight)>;

class PreviewRenderer final : public PictureRenderer {
 public:
  explicit PreviewRenderer(PreviewMaker make = image::MakePreview) : make_(std::move(make)) {}

  // nullptr for bytes without a picture signature (text files, fewer than 8 bytes); otherwise a
  // picture that keeps its own copy of the bytes and decodes them when first drawn.
  [[nodiscard]] std::unique_ptr<DecodedPicture> Decode(std::string_view bytes) override;

 private:
  PreviewMaker make_;
};

// The program's renderer for every picture box (app/platform_win.h installs it at start-up).
[[nodiscard]] PictureRenderer& ProgramPictureRenderer();

}  // namespace lumenta::ui
