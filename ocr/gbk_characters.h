#pragma once
// GBK text cut into characters for the regular-expression engine, which matches characters,
// not bytes: a double-byte character is one character with one UTF-16 unit, so a class or \w
// never sees half of one and match positions can be counted in characters.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumenta::gbk {

// Stands for a byte sequence that is no GBK character (a lead byte without a valid trail byte,
// or a pair the code page leaves unassigned).
inline constexpr char16_t kUnknownCharacter = 0xFFFD;

struct Characters {
  std::u16string units;            // one UTF-16 unit per character
  std::vector<uint32_t> offsets;   // byte offset of each character, then the text's length
};

// A lead byte (0x81 to 0xFE) takes the next byte with it when that byte can trail (0x40 to
// 0x7E, 0x80 to 0xFE); otherwise it stands alone, so a stray lead byte never swallows the line
// break or the "<" after it. 0x80 is the euro sign and 0xFF a character of its own, as in the
// system's code page 936.
[[nodiscard]] Characters Split(std::string_view text);

// The units only, for patterns.
[[nodiscard]] std::u16string Decode(std::string_view text);

}  // namespace lumenta::gbk
