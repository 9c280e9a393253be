#pragma once
// The upper halves (0xA0 to 0xFF) of the two ISO 8859 parts that have no Windows code page:
// 10 (Nordic) and 14 (Celtic). The lower 160 bytes of both are the same as Unicode.
#include <string>
#include <string_view>

namespace lumenta::charset {

// `part` is 10 or 14. The bytes (up to their first zero byte) as UTF-16.
[[nodiscard]] std::u16string Iso8859ToUtf16(std::string_view bytes, int part);

}  // namespace lumenta::charset
