#pragma once
// The text and the document of the document search.
#include <string>
#include <string_view>

#include "base/text.h"

namespace lumenta::app {

// The result text with leading and trailing blanks removed: ASCII spaces and full-width spaces
// (GBK A1 A1). Tabs and line breaks stay. The scan walks whole characters, so the second byte
// of a double-byte character is never taken for the start of a full-width space.
[[nodiscard]] Text TrimSearchText(std::string_view text);

// The searched document, "vorel.docx", in `directory` (UTF-16); one backslash between them.
[[nodiscard]] std::u16string DocumentPathIn(std::u16string_view directory);

// The colour every match is given (red).
inline constexpr int kMatchColour = 255;

// One search colours at most this many matches, so that a word processor set to wrap around at
// the end of the document cannot keep it going for ever.
inline constexpr int kMaxColouredMatches = 100000;

}  // namespace lumenta::app
