#pragma once
// The capture window's cursors: the five system cursors of the selection, the drawing tools'
// cross and the window's own arrow, both made from their cursor-file bytes in memory.
#include <windows.h>

#include <string_view>

#include "capture/model/selection_model.h"
#include "win/gdi_win.h"

namespace lumenta::capture {

// A cursor made from the bytes of a cursor file; empty when the bytes are not a cursor file or
// the platform refuses the image.
[[nodiscard]] win::Cursor CursorFromFileBytes(std::string_view file);

class CaptureCursors {
 public:
  // Loads the system cursors and makes the cross (capture start).
  void Load();
  // Makes the window's own arrow (window set-up).
  void MakeArrow();
  // Destroys the cursors the program made.
  void Release();

  // The cursor to show for `cursor`: the cross falls back to the system cross while it is
  // empty, kUnchanged gives nullptr.
  [[nodiscard]] HCURSOR Get(CaptureCursor cursor) const;
  [[nodiscard]] HCURSOR cross() const { return cross_.get(); }
  [[nodiscard]] HCURSOR arrow() const { return arrow_.get(); }

 private:
  HCURSOR move_ = nullptr;
  HCURSOR vertical_ = nullptr;
  HCURSOR horizontal_ = nullptr;
  HCURSOR diagonalDown_ = nullptr;
  HCURSOR diagonalUp_ = nullptr;
  win::Cursor cross_;
  win::Cursor arrow_;
};

}  // namespace lumenta::capture
