#pragma once
// Text and byte helpers shared by the recognition flow, the regular-expression object and the
// HTTP client: cutting text out between markers, Base64, URL percent-encoding and decoding, and
// conversions between GBK, UTF-16 and UTF-8. None of them has state or reports an error: missing
// markers give empty text, empty input gives empty output, invalid bytes are converted by the
// platform's rules.
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace lumenta {

// 1-based position of the first occurrence of `sought` at or after `start` (1 or less: from the
// beginning), or -1. The scan steps over double-byte characters, so a match never begins on the
// second byte of one. With `ignoreCase` only ASCII letters are folded.
[[nodiscard]] int FindText(std::string_view text, std::string_view sought, int start = 1,
                           bool ignoreCase = false);

// FindText on a text and a sought text already cut at their first zero byte (see AsText): the
// same answer without scanning the whole text for a zero first, for callers that search one
// text again and again (a search per line would otherwise cost the length of the text each).
[[nodiscard]] int FindInText(std::string_view text, std::string_view sought, int start = 1,
                             bool ignoreCase = false);

// Every "#引号" in `text` replaced by a double quote.
[[nodiscard]] Text ReplaceQuotePlaceholder(std::string_view text);

// The text between the first `left` found from `start` and the first `right` after it, or empty
// text. In both markers "#引号" stands for a double quote.
[[nodiscard]] Text TextBetween(std::string_view text, std::string_view left, std::string_view right,
                               int start = 0, bool ignoreCase = false);

// How ItemsBetween shapes and picks its items.
struct BetweenOptions {
  bool ignoreCase = false;
  int lengthLimit = 0;           // items this long or longer are left out; 0: no limit
  std::string_view prefix = {};  // put before each item (after the left marker, if included)
  std::string_view suffix = {};  // put after each item (before the right marker, if included)
  bool includeLeft = false;      // each item begins with the left marker
  bool includeRight = false;     // each item ends with the right marker
  int start = 0;                 // where the first search for the left marker begins
};

// Every text between `left` and the next `right`, in order; each search for the next left marker
// starts right after the previous one. Runs ProcessPendingEvents after each item. An empty left
// marker finds nothing (it would match again at the very place it matched, forever).
[[nodiscard]] std::vector<Text> ItemsBetween(std::string_view text, std::string_view left,
                                             std::string_view right,
                                             const BetweenOptions& options = {});

// ItemsBetween in the program's described shape: the items go to `list`, the options come as
// positional parameters, and the number of items is returned.
int TextBetweenAll(std::string_view text, std::string_view left, std::string_view right,
                   std::vector<Text>& list, bool ignoreCase = false, int lengthLimit = 0,
                   std::string_view prefix = {}, std::string_view suffix = {},
                   bool includeLeft = false, bool includeRight = false, int start = 0);

// AsText for long buffers (request bodies): the same view, with the zero byte looked for 16 bytes
// at a time. AsText's memchr is the C runtime's, and under Wine that one reads a byte per step
// (3 ms for a 12 MB recognition body).
[[nodiscard]] std::string_view AsLongText(std::string_view bytes);

// Standard padded Base64 (RFC 4648 section 4), no line breaks.
[[nodiscard]] Text Base64Encode(std::string_view bytes);

// Percent-encoding ("%XX", upper-case hex); a blank becomes "+". With `keepSafe` the letters,
// digits and - . _ ' ( ) * stay as they are; with `toUtf8` the GBK text is converted first.
[[nodiscard]] Text UrlEncode(std::string_view text, bool keepSafe = false, bool toUtf8 = false);

// Reverses percent-encoding ("+" becomes a blank); with `fromUtf8` the decoded bytes are read as
// UTF-8 and converted to GBK. A decoded zero byte ends the text.
[[nodiscard]] Text UrlDecode(std::string_view text, bool fromUtf8 = false);

// Bytes of `codePage` (up to their first zero byte) to a UTF-16LE buffer that ends in one zero
// character; empty when the input is empty.
[[nodiscard]] ByteBuffer CodePageToUtf16(std::string_view bytes, unsigned codePage);

// A UTF-16LE buffer (up to its first zero character) to bytes of `codePage`, without terminator.
[[nodiscard]] ByteBuffer Utf16ToCodePage(std::string_view utf16le, unsigned codePage);

[[nodiscard]] ByteBuffer AnsiToUtf16(std::string_view text);
[[nodiscard]] Text Utf16ToText(std::string_view utf16le, unsigned codePage, bool useCodePage);
[[nodiscard]] Text Utf16ToAnsi(std::string_view utf16le);
[[nodiscard]] ByteBuffer AnsiToUtf8(std::string_view text);
[[nodiscard]] Text Utf8ToAnsi(std::string_view bytes);

// Conveniences for the Windows code, which hands wide strings to the W functions.
[[nodiscard]] std::u16string TextToUtf16(std::string_view text);
[[nodiscard]] Text Utf16ToGbk(std::u16string_view units);

}  // namespace lumenta
