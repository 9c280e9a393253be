#include "tools/ocrd/line_text.h"

#include <vector>

namespace lumenta::ocrd {
namespace {

struct Character {
  std::string_view bytes;
  char32_t code;  // 0xFFFD for a byte that starts no valid sequence
};

// Splits UTF-8 into characters; a byte that starts no valid sequence is a character of its own.
std::vector<Character> SplitCharacters(std::string_view text) {
  std::vector<Character> characters;
  characters.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    char32_t code = lead;
    if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07;
    } else if (lead >= 0xE0) {
      length = lead <= 0xEF ? 3 : 0;
      code = lead & 0x0F;
    } else if (lead >= 0xC2) {
      length = 2;
      code = lead & 0x1F;
    } else if (lead >= 0x80) {
      length = 0;
    }
    bool valid = length != 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (valid && length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) valid = false;
    if (valid && length == 4 && (code < 0x10000 || code > 0x10FFFF)) valid = false;
    if (!valid) {
      length = 1;
      code = 0xFFFD;
    }
    characters.push_back({text.substr(i, length), code});
    i += length;
  }
  return characters;
}

bool IsBlank(char32_t c) { return c == ' ' || c == '\t' || c == 0x3000; }
bool IsSpace(char32_t c) { return IsBlank(c) || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

}  // namespace

bool IsCjk(char32_t c) {
  return (c >= 0x2E80 && c <= 0x2FDF) ||  // radicals
         (c >= 0x3001 && c <= 0x303F) ||  // CJK punctuation (not the ideographic space)
         (c >= 0x3040 && c <= 0x30FF) ||  // kana
         (c >= 0x3100 && c <= 0x312F) ||  // bopomofo
         (c >= 0x31C0 && c <= 0x31FF) ||  // strokes, kana extension
         (c >= 0x3400 && c <= 0x4DBF) ||  // extension A
         (c >= 0x4E00 && c <= 0x9FFF) ||  // unified ideographs
         (c >= 0xF900 && c <= 0xFAFF) ||  // compatibility ideographs
         (c >= 0xFE30 && c <= 0xFE4F) ||  // compatibility forms
         (c >= 0xFF00 && c <= 0xFFEF) ||  // full-width and half-width forms
         (c >= 0x20000 && c <= 0x3134F);  // extensions B to G
}

std::string CleanLine(std::string_view utf8) {
  const std::vector<Character> characters = SplitCharacters(utf8);
  std::size_t first = 0;
  std::size_t last = characters.size();
  while (first < last && IsSpace(characters[first].code)) ++first;
  while (last > first && IsSpace(characters[last - 1].code)) --last;

  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = first; i < last;) {
    if (!IsBlank(characters[i].code)) {
      out.append(characters[i].bytes);
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < last && IsBlank(characters[end].code)) ++end;
    // Trimming guarantees a character on both sides of an inner run of blanks.
    const bool between_cjk = IsCjk(characters[i - 1].code) && IsCjk(characters[end].code);
    if (!between_cjk) {
      for (std::size_t k = i; k < end; ++k) out.append(characters[k].bytes);
    }
    i = end;
  }
  return out;
}

}  // namespace lumenta::ocrd
