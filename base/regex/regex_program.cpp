#include "base/regex/regex_program.h"

#include <algorithm>

namespace lumenta::regex {

CharClass::CharClass(std::vector<std::pair<char16_t, char16_t>> ranges, bool negated)
    : negated_(negated) {
  std::sort(ranges.begin(), ranges.end());
  for (const auto& r : ranges) {
    if (!ranges_.empty() && static_cast<unsigned>(r.first) <= ranges_.back().second + 1u) {
      ranges_.back().second = std::max(ranges_.back().second, r.second);
    } else {
      ranges_.push_back(r);
    }
  }
  for (const auto& r : ranges_) {
    for (unsigned c = r.first; c <= r.second && c < 128; ++c) {
      ascii_[c >> 6] |= uint64_t{1} << (c & 63);
    }
  }
  if (negated_) {
    ascii_[0] = ~ascii_[0];
    ascii_[1] = ~ascii_[1];
  }
}

bool CharClass::ContainsWide(char16_t c) const {
  auto it = std::upper_bound(ranges_.begin(), ranges_.end(), c,
                             [](char16_t v, const auto& r) { return v < r.first; });
  const bool in = it != ranges_.begin() && c <= std::prev(it)->second;
  return in != negated_;
}

bool CharClass::HasWide() const {
  if (negated_) {
    // The complement holds a wide character unless the ranges cover 128..0xFFFF.
    for (const auto& r : ranges_) {
      if (r.first <= 128 && r.second == 0xFFFF) return false;
    }
    return true;
  }
  return !ranges_.empty() && ranges_.back().second >= 128;
}

}  // namespace lumenta::regex
