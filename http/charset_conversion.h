#pragma once
// Converts a response body from a named character set to GBK text.
#include <string_view>

#include "base/text.h"

namespace lumenta::charset {

// The whole `body` read in the character set `name` (any label of charset_names.h, in any case)
// and converted to GBK; characters GBK cannot hold become "?". A leading byte-order mark of the
// set is dropped. The text ends at the first zero character, as every text does. Empty text
// when the name is not known.
[[nodiscard]] Text ConvertToGbk(std::string_view body, std::string_view name);

}  // namespace lumenta::charset
