#include "base/regex/gbk_characters.h"

#include <array>
#include <memory>

#include "base/codepage.h"

namespace lumenta::gbk {
namespace {

inline bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
inline bool IsTrail(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE);
}

// (lead << 8 | trail) -> unit for every well-formed pair, filled once from the code-page seam
// so that the engine reads GBK exactly as the rest of the program does.
const std::array<char16_t, 65536>& PairTable() {
  static const std::unique_ptr<std::array<char16_t, 65536>> table = [] {
    auto t = std::make_unique<std::array<char16_t, 65536>>();
    t->fill(kUnknownCharacter);
    std::string row;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      // One conversion per lead byte: all its pairs in a row, each giving one unit.
      row.clear();
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        if (!IsTrail(static_cast<unsigned char>(trail))) continue;
        row.push_back(static_cast<char>(lead));
        row.push_back(static_cast<char>(trail));
      }
      const std::u16string units = codepage::ToUtf16(row, codepage::kGbk);
      if (units.size() * 2 == row.size()) {
        for (size_t k = 0; k < units.size(); ++k) {
          (*t)[(lead << 8) | static_cast<unsigned char>(row[2 * k + 1])] = units[k];
        }
        continue;
      }
      // The row did not convert one unit per pair: take the pairs one by one.
      for (size_t k = 0; k < row.size(); k += 2) {
        const std::u16string one =
            codepage::ToUtf16(std::string_view(row).substr(k, 2), codepage::kGbk);
        if (one.size() == 1) (*t)[(lead << 8) | static_cast<unsigned char>(row[k + 1])] = one[0];
      }
    }
    return t;
  }();
  return *table;
}

// True when the character at byte i of p (n bytes) is a pair of bytes.
inline bool IsPair(const unsigned char* p, size_t i, size_t n) {
  return IsLead(p[i]) && i + 1 < n && IsTrail(p[i + 1]);
}

// Calls emit(unit, byte offset) for each character of `text`; returns the number of them.
template <typename Emit>
size_t Walk(std::string_view text, Emit emit) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  const std::array<char16_t, 65536>* pairs = nullptr;
  size_t k = 0;
  for (size_t i = 0; i < n; ++k) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      emit(k, static_cast<char16_t>(c), i);
      ++i;
    } else if (IsPair(p, i, n)) {
      if (!pairs) pairs = &PairTable();
      emit(k, (*pairs)[(c << 8) | p[i + 1]], i);
      i += 2;
    } else if (c == 0x80) {
      emit(k, char16_t{0x20AC}, i);
      ++i;
    } else if (c == 0xFF) {
      emit(k, char16_t{0xF8F5}, i);
      ++i;
    } else {
      emit(k, kUnknownCharacter, i);
      ++i;
    }
  }
  return k;
}

}  // namespace

Characters Split(std::string_view text) {
  // Sized for the worst case (one byte per character).
  Characters out;
  out.unitBuffer = std::make_unique_for_overwrite<char16_t[]>(text.size() + 1);
  char16_t* units = out.unitBuffer.get();
  out.count = Walk(text, [&](size_t k, char16_t unit, size_t) { units[k] = unit; });
  return out;
}

size_t ByteOffsets::Of(size_t character) {
  if (character < character_) character_ = offset_ = 0;
  const auto* p = reinterpret_cast<const unsigned char*>(text_.data());
  const size_t n = text_.size();
  while (character_ < character && offset_ < n) {
    offset_ += IsPair(p, offset_, n) ? 2 : 1;
    ++character_;
  }
  return offset_;
}

std::u16string Decode(std::string_view text) {
  std::u16string out(text.size(), u'\0');
  char16_t* units = out.data();
  out.resize(Walk(text, [&](size_t k, char16_t unit, size_t) { units[k] = unit; }));
  return out;
}

}  // namespace lumenta::gbk
