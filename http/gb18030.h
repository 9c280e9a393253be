#pragma once
// GB18030: ASCII, the two-byte GBK area and the four-byte sequences that cover the rest of
// Unicode. Neither Wine nor every Windows system converts code page 54936, so the program reads
// it itself.
#include <string>
#include <string_view>

namespace lumenta::charset {

// The bytes (up to their first zero byte) as UTF-16. Two-byte characters are read through the
// system's GBK table, so a GB18030 text of GBK characters comes back unchanged when converted
// to GBK; a malformed sequence reads as U+FFFD.
[[nodiscard]] std::u16string Gb18030ToUtf16(std::string_view bytes);

}  // namespace lumenta::charset
