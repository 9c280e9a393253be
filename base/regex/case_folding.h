#pragma once
// Case folding for the regular-expression engine's IgnoreCase option. It covers the letters a
// GBK text can hold (ASCII, Latin-1 and the pinyin letters, Greek, Cyrillic, the Roman numerals,
// full-width Latin) and a few neighbours. A letter outside ASCII never folds onto an ASCII
// letter, so "k" does not match the Kelvin sign.
#include <utility>
#include <vector>

namespace lumenta::regex {

// The lower-case partner of `c`, or `c` itself.
[[nodiscard]] char16_t FoldCase(char16_t c);

// Every character whose fold differs from itself (the upper-case letters), with its fold.
[[nodiscard]] const std::vector<std::pair<char16_t, char16_t>>& FoldPairs();

}  // namespace lumenta::regex
