#pragma once
// Decoding the escapes of a JSON string in text the recognition flow cut out of an answer (the
// access token, each recognised line, an error message).
#include <string_view>

#include "base/text.h"

namespace lumenta {

// The GBK text with its JSON string escapes replaced by the characters they stand for:
// \" \\ \/ \b \f \n \r \t and \uXXXX, a surrogate pair giving one character. Escaped characters
// GBK cannot hold become "?" (a pair, beyond the BMP, always does), a lone surrogate too; \u0000 is
// left out (a text holds no zero byte). A backslash that starts no escape stays as it is.
// Double-byte characters are stepped over whole: the second byte of one may be 0x5C, which is no
// backslash.
[[nodiscard]] Text DecodeJsonEscapes(std::string_view text);

}  // namespace lumenta
