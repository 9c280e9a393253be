#pragma once
// The rules of the three picture sources that do not need Windows: the open-file dialog's
// filter, the message of an empty clipboard, and which file a drop names.
#include <string_view>

#include "base/text.h"

namespace lumenta::app {

// The filter of 按钮_选图's open-file dialog, exactly as the program has always had it (GBK):
// "图片(*.jpg)|*.jpg|图片(*.png)|*.png|所有文件(*.*)|*.**", three entries: JPEG pictures, PNG
// pictures and all files. The first entry is preselected.
inline constexpr std::string_view kPictureFileFilter =
    "\xCD\xBC\xC6\xAC(*.jpg)|*.jpg|\xCD\xBC\xC6\xAC(*.png)|*.png|"
    "\xCB\xF9\xD3\xD0\xCE\xC4\xBC\xFE(*.*)|*.**";

// Shown by 按钮_取图 when the clipboard holds no bitmap (GBK): "剪切板中没有图片！".
inline constexpr std::string_view kNoClipboardPicture =
    "\xBC\xF4\xC7\xD0\xB0\xE5\xD6\xD0\xC3\xBB\xD3\xD0\xCD\xBC\xC6\xAC\xA3\xA1";

// A file larger than this is not loaded (the box is cleared as for an unreadable file): no
// picture is anywhere near it, the recognition service takes a few megabytes, and reading a
// dropped video or disk image whole would only exhaust the memory of a 32-bit program.
inline constexpr unsigned long long kMaxPictureFileBytes = 256ull << 20;

// The file a files-dropped text names. One file: the text is its path. Several files: every
// path is followed by CR LF, and the first path is the one loaded (the combined text names no
// file at all, and loading nothing would throw the user's drop away).
[[nodiscard]] Text DroppedFileToLoad(std::string_view dropText);

// A folder name ending in exactly one path separator ("\"), as the dialog's initial folder is
// given; empty stays empty.
[[nodiscard]] Text FolderWithSeparator(std::string_view folder);

}  // namespace lumenta::app
