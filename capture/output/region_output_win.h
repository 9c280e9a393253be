#pragma once
// Where a captured region goes: onto the clipboard as a bitmap, or into a file.
#include <windows.h>

#include <string_view>

#include "win/scoped_handle_win.h"

namespace lumenta::capture {

// Empties the clipboard (with `owner` as its owner) and places `bitmap` on it as CF_BITMAP, so
// that only the picture is on the clipboard afterwards. The clipboard takes the bitmap; when it
// cannot be opened or refuses the bitmap, the bitmap is deleted with its wrapper. Returns
// whether it was placed.
[[nodiscard]] bool PlaceBitmapOnClipboard(HWND owner, win::Bitmap bitmap);

// Writes `bytes` as the whole content of the file at `path`, replacing an existing file. The
// bytes go to a new file in the same folder first, which then takes the old file's place, so a
// write that fails half-way leaves the old file as it was. Returns whether the file now holds
// the bytes.
[[nodiscard]] bool ReplaceFileContent(std::wstring_view path, std::string_view bytes);

}  // namespace lumenta::capture
