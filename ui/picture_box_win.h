#pragma once
// The picture box control: holds the bytes of an image file as its picture and shows it. The
// bytes are stored and returned unchanged, whatever they hold; an empty buffer clears the box.
//
// Decoding and drawing are not done here: the image code installs a PictureRenderer. A picture
// is decoded once, at the first paint after its bytes were set, and the decoded result is kept
// by the box until its bytes change, so a repaint does not decode again. Until a renderer is
// installed, or when the bytes do not decode, the box shows its border and background only.
#include <windows.h>

#include <memory>
#include <string_view>

#include "base/text.h"

namespace lumenta::ui {

// A decoded picture, kept by one picture box.
class DecodedPicture {
 public:
  virtual ~DecodedPicture() = default;
  // Draws the picture into `dc` for a box whose client rectangle is `client` (the background is
  // already painted): a picture smaller than the box at natural size in the centre, a larger one
  // scaled down to fit, keeping its aspect ratio, and centred.
  virtual void Draw(HDC dc, const RECT& client) = 0;
};

class PictureRenderer {
 public:
  virtual ~PictureRenderer() = default;
  // Decodes the bytes of an image file; nullptr when they hold no picture it can show.
  [[nodiscard]] virtual std::unique_ptr<DecodedPicture> Decode(std::string_view bytes) = 0;
};

// Installs the renderer every picture box draws with (not owned; nullptr: no pictures are drawn)
// and returns the previous one. Boxes decode again at their next paint.
PictureRenderer* SetPictureRenderer(PictureRenderer* renderer);

// The window class of picture boxes; registered once per process.
inline constexpr wchar_t kPictureBoxClass[] = L"LumentaPictureBox";
[[nodiscard]] bool RegisterPictureBoxClass();

// The bytes held by a picture box (empty for a window that is no picture box).
[[nodiscard]] ByteBuffer PictureBoxBytes(HWND box);
// The same bytes without a copy (never null).
[[nodiscard]] SharedBytes SharedPictureBoxBytes(HWND box);
// Replaces the picture of a box and repaints it.
void SetPictureBoxBytes(HWND box, ByteBuffer bytes);

}  // namespace lumenta::ui
