#include "capture/window/capture_cursors_win.h"

#include "capture/window/cursor_assets.h"
#include "capture/window/cursor_file.h"

namespace lumenta::capture {

win::Cursor CursorFromFileBytes(std::string_view file) {
  auto image = ReadCursorFile(file);
  if (!image) return win::Cursor();
  // The image part of the cursor file, led by its hotspot, is the form of a cursor resource.
  return win::Cursor(CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image->resourceBits.data()),
                                              static_cast<DWORD>(image->resourceBits.size()), FALSE,
                                              0x00030000, 0, 0, LR_DEFAULTCOLOR));
}

void CaptureCursors::Load() {
  const auto system = [](int id) { return LoadCursorW(nullptr, MAKEINTRESOURCEW(id)); };
  move_ = system(32646);
  vertical_ = system(32645);
  horizontal_ = system(32644);
  diagonalDown_ = system(32642);
  diagonalUp_ = system(32643);
  cross_ = CursorFromFileBytes(CrossCursorFile());
}

void CaptureCursors::MakeArrow() { arrow_ = CursorFromFileBytes(ArrowCursorFile()); }

void CaptureCursors::Release() {
  cross_.reset();
  arrow_.reset();
}

HCURSOR CaptureCursors::Get(CaptureCursor cursor) const {
  switch (cursor) {
    case CaptureCursor::kUnchanged:
      return nullptr;
    case CaptureCursor::kArrow:
      return arrow_.get() ? arrow_.get() : LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    case CaptureCursor::kCross:
      return cross_.get() ? cross_.get() : LoadCursorW(nullptr, MAKEINTRESOURCEW(32515));
    case CaptureCursor::kSizeTopLeftBottomRight:
      return diagonalDown_;
    case CaptureCursor::kSizeTopRightBottomLeft:
      return diagonalUp_;
    case CaptureCursor::kSizeHorizontal:
      return horizontal_;
    case CaptureCursor::kSizeVertical:
      return vertical_;
    case CaptureCursor::kMove:
      return move_;
  }
  return nullptr;
}

}  // namespace lumenta::capture
