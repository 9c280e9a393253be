#pragma once
// GBK text cut into characters for the regular-expression engine, which matches characters,
// not bytes: a double-byte character is one character with one UTF-16 unit, so a class or \w
// never sees half of one and match positions can be counted in characters.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lumenta::gbk {

// Stands for a byte sequence that is no GBK character (a lead byte without a valid trail byte,
// or a pair the code page leaves unassigned).
inline constexpr char16_t kUnknownCharacter = 0xFFFD;

struct Characters {
  // One UTF-16 unit per character. A plain array: a 1 MiB subject is not zero-filled before
  // being decoded.
  std::unique_ptr<char16_t[]> unitBuffer;
  size_t count = 0;
  [[nodiscard]] std::u16string_view units() const { return {unitBuffer.get(), count}; }
};

// The byte offset in `text` of a character given by its index, found by walking the text's
// characters on from the one asked for before (from the start again for an earlier one): asked
// in rising order, the offsets of all characters cost one walk over the text. An index past the
// last character gives the text's length.
class ByteOffsets {
 public:
  explicit ByteOffsets(std::string_view text) : text_(text) {}
  [[nodiscard]] size_t Of(size_t character);

 private:
  std::string_view text_;
  size_t character_ = 0;  // where the walk stands: this character ...
  size_t offset_ = 0;     // ... starts at this byte
};

// A lead byte (0x81 to 0xFE) takes the next byte with it when that byte can trail (0x40 to
// 0x7E, 0x80 to 0xFE); otherwise it stands alone, so a stray lead byte never swallows the line
// break or the "<" after it. 0x80 is the euro sign and 0xFF a character of its own, as in the
// system's code page 936.
[[nodiscard]] Characters Split(std::string_view text);

// The units only, for patterns.
[[nodiscard]] std::u16string Decode(std::string_view text);

}  // namespace lumenta::gbk
