#include "ocr/gbk_characters.h"

#include <array>
#include <memory>

#include "ocr/codepage.h"

namespace lumenta::gbk {
namespace {

inline bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
inline bool IsTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE); }

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
        const std::u16string one = codepage::ToUtf16(std::string_view(row).substr(k, 2),
                                                     codepage::kGbk);
        if (one.size() == 1) (*t)[(lead << 8) | static_cast<unsigned char>(row[k + 1])] = one[0];
      }
    }
    return t;
  }();
  return *table;
}

template <typename Emit>
void Walk(std::string_view text, Emit emit) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  const std::array<char16_t, 65536>* pairs = nullptr;
  for (size_t i = 0; i < n;) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      emit(static_cast<char16_t>(c), i);
      ++i;
    } else if (IsLead(c) && i + 1 < n && IsTrail(p[i + 1])) {
      if (!pairs) pairs = &PairTable();
      emit((*pairs)[(c << 8) | p[i + 1]], i);
      i += 2;
    } else if (c == 0x80) {
      emit(char16_t{0x20AC}, i);
      ++i;
    } else if (c == 0xFF) {
      emit(char16_t{0xF8F5}, i);
      ++i;
    } else {
      emit(kUnknownCharacter, i);
      ++i;
    }
  }
}

}  // namespace

Characters Split(std::string_view text) {
  Characters out;
  out.units.reserve(text.size());
  out.offsets.reserve(text.size() + 1);
  Walk(text, [&](char16_t unit, size_t offset) {
    out.units.push_back(unit);
    out.offsets.push_back(static_cast<uint32_t>(offset));
  });
  out.offsets.push_back(static_cast<uint32_t>(text.size()));
  return out;
}

std::u16string Decode(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  Walk(text, [&](char16_t unit, size_t) { out.push_back(unit); });
  return out;
}

}  // namespace lumenta::gbk
