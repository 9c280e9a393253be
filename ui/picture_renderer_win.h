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

namespace lumenta::image {

// Makes the preview of picture bytes for a box of the given size (MakePreview by default; tests
// put a counting one in).
using PreviewMaker = std::function<Preview(std::string_view bytes, int boxWidth, int boxHeight)>;

class PreviewRenderer final : public ui::PictureRenderer {
 public:
  explicit PreviewRenderer(PreviewMaker make = MakePreview) : make_(std::move(make)) {}

  // nullptr for bytes without a picture signature (text files, fewer than 8 bytes); otherwise a
  // picture that keeps its own copy of the bytes and decodes them when first drawn.
  [[nodiscard]] std::unique_ptr<ui::DecodedPicture> Decode(std::string_view bytes) override;

 private:
  PreviewMaker make_;
};

// Installs the program's renderer for every picture box (done once at start-up).
void InstallPictureRenderer();

}  // namespace lumenta::image
