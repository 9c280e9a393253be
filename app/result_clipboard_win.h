#pragma once
// Puts the recognition result on the clipboard as text.
#include <windows.h>

#include <string_view>

namespace lumenta::app {

// Opens the clipboard for `owner`, empties it and places `gbk` (up to a zero byte) twice: as
// CF_TEXT, the GBK bytes themselves, and as CF_UNICODETEXT converted from GBK, so programs read
// the same characters whatever the system's code page is. An empty text is placed as an empty
// text. Returns false, leaving the clipboard as it was, when the clipboard cannot be opened.
bool CopyTextToClipboard(HWND owner, std::string_view gbk);

}  // namespace lumenta::app
