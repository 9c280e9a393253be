#include "base/regex/case_folding.h"

#include <array>
#include <cstdint>
#include <memory>

namespace lumenta::regex {
namespace {

enum class Step : uint8_t {
  kOffset,   // every character of the run maps to itself + delta
  kEvenOdd,  // even characters map to the odd one after them
  kOddEven,  // odd characters map to the even one after them
};

struct Run {
  char16_t first, last;
  Step step;
  int delta;
};

// Upper-case runs and how they fold.
constexpr Run kRuns[] = {
    {0x0041, 0x005A, Step::kOffset, 0x20},  // A-Z
    {0x00C0, 0x00D6, Step::kOffset, 0x20},  // Latin-1 letters before the multiplication sign
    {0x00D8, 0x00DE, Step::kOffset, 0x20},  // and after it
    {0x0100, 0x012F, Step::kEvenOdd, 1},    // Latin Extended-A (dotted/dotless i excluded)
    {0x0132, 0x0137, Step::kEvenOdd, 1},
    {0x0139, 0x0148, Step::kOddEven, 1},
    {0x014A, 0x0177, Step::kEvenOdd, 1},
    {0x0178, 0x0178, Step::kOffset, 0x00FF - 0x0178},
    {0x0179, 0x017E, Step::kOddEven, 1},
    {0x01CD, 0x01DC, Step::kOddEven, 1},  // the pinyin letters with caron
    {0x01F8, 0x01F9, Step::kEvenOdd, 1},
    {0x0391, 0x03A1, Step::kOffset, 0x20},  // Greek (no capital at 0x03A2)
    {0x03A3, 0x03A9, Step::kOffset, 0x20},
    {0x03C2, 0x03C2, Step::kOffset, 1},     // final sigma folds with sigma
    {0x0400, 0x040F, Step::kOffset, 0x50},  // Cyrillic
    {0x0410, 0x042F, Step::kOffset, 0x20},
    {0x1E00, 0x1E95, Step::kEvenOdd, 1},  // Latin Extended Additional
    {0x1EA0, 0x1EFF, Step::kEvenOdd, 1},
    {0x2160, 0x216F, Step::kOffset, 0x10},  // Roman numerals
    {0x24B6, 0x24CF, Step::kOffset, 0x1A},  // circled letters
    {0xFF21, 0xFF3A, Step::kOffset, 0x20},  // full-width Latin
};

bool Folds(const Run& run, char16_t c) {
  if (c < run.first || c > run.last) return false;
  switch (run.step) {
    case Step::kOffset:
      return true;
    case Step::kEvenOdd:
      return (c & 1) == 0;
    case Step::kOddEven:
      return (c & 1) == 1;
  }
  return false;
}

}  // namespace

char16_t FoldCase(char16_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? static_cast<char16_t>(c + 0x20) : c;
  // The search folds every subject character: one look-up in a table made once.
  static const std::unique_ptr<std::array<char16_t, 0x10000>> table = [] {
    auto t = std::make_unique<std::array<char16_t, 0x10000>>();
    for (unsigned u = 0; u < 0x10000; ++u) (*t)[u] = static_cast<char16_t>(u);
    for (const Run& run : kRuns) {
      for (unsigned u = run.first; u <= run.last; ++u) {
        if (Folds(run, static_cast<char16_t>(u))) (*t)[u] = static_cast<char16_t>(u + run.delta);
      }
    }
    return t;
  }();
  return (*table)[c];
}

const std::vector<std::pair<char16_t, char16_t>>& FoldPairs() {
  static const std::vector<std::pair<char16_t, char16_t>> pairs = [] {
    std::vector<std::pair<char16_t, char16_t>> out;
    for (const Run& run : kRuns) {
      for (unsigned c = run.first; c <= run.last; ++c) {
        const auto ch = static_cast<char16_t>(c);
        if (Folds(run, ch)) out.emplace_back(ch, static_cast<char16_t>(c + run.delta));
      }
    }
    return out;
  }();
  return pairs;
}

}  // namespace lumenta::regex
