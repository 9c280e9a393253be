#pragma once
// Small text pieces shared by the header and cookie rules. They work on GBK text character by
// character: a byte of 0x80 or above starts a double-byte character, and no search ever matches
// from the second byte of one. Case folding touches the ASCII letters only.
#include <string_view>
#include <vector>

#include "base/text.h"

namespace lumenta {

// Removes leading and trailing blanks: the ASCII space and the full-width space (GBK A1 A1).
// Tabs are not blanks.
[[nodiscard]] Text TrimBlanks(std::string_view text);

// Splits at every occurrence of `separator`: each occurrence ends one item (two in a row give an
// empty item); what follows the last one is an item only when it is not empty; an empty text
// gives no items. An empty separator leaves the text whole.
[[nodiscard]] std::vector<Text> SplitList(std::string_view text, std::string_view separator);

// True when `sought` occurs in `text` (an empty `sought` always does).
[[nodiscard]] bool Contains(std::string_view text, std::string_view sought,
                            bool ignoreCase = false);

// True when `text` begins with `prefix`.
[[nodiscard]] bool StartsWith(std::string_view text, std::string_view prefix,
                              bool ignoreCase = false);

// The text after the last occurrence of `separator`, or empty text when it does not occur.
[[nodiscard]] Text TextAfterLast(std::string_view text, std::string_view separator);

// The text before the first occurrence of `separator`, or empty text when it does not occur.
[[nodiscard]] Text TextBefore(std::string_view text, std::string_view separator);

// Every occurrence of `sought`, left to right and without overlap, replaced by `with` in one
// pass. An empty `sought` changes nothing.
[[nodiscard]] Text ReplaceAll(std::string_view text, std::string_view sought, std::string_view with,
                              bool ignoreCase = false);

}  // namespace lumenta
