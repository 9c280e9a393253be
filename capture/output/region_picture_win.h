#pragma once
// The picture of the selected region that the capture tool hands out: the annotated copy when
// a drawing tool has been used on the rectangle, else the frozen screen's pixels there.
#include <windows.h>

#include "capture/model/toolbar_layout.h"
#include "ui/common_dialog_win.h"
#include "win/scoped_handle_win.h"

namespace lumenta::capture {

struct RegionSource {
  HDC screenDc = nullptr;   // the colour format of the picture
  HDC snapshot = nullptr;   // the frozen screen
  HDC annotated = nullptr;  // the annotated copy of the rectangle, or nullptr when none exists
  Rect selection;
};

// A bitmap compatible with the screen, of the rectangle's size, filled from the annotated copy
// at (0, 0) or from the snapshot at the rectangle's place; empty when it cannot be made.
[[nodiscard]] win::Bitmap BuildRegionPicture(const RegionSource& source);

// The region picture as the clipboard's only content, with `owner` as the clipboard's owner.
// False when the clipboard could not be opened (nothing changes on it then).
bool CopyRegionToClipboard(HWND owner, const RegionSource& source);

enum class SaveOutcome {
  kSaved,      // the file holds the region picture as a BMP file
  kCancelled,  // the user closed the dialog without a name; nothing was written
  kFailed,     // the file could not be written; the user has been told "保存失败！"
};

// Asks for a file name with `dialog` and writes the region picture there as a BMP file,
// replacing an existing file.
SaveOutcome SaveRegionToFile(const RegionSource& source, ui::CommonDialog& dialog);

}  // namespace lumenta::capture
