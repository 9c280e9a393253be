#pragma once
// The compiled form of a regular expression: a program for the Pike VM of regex_matcher.h.
// Consuming instructions (Char, Any, Class) step over one character; Split, Jump, Save and
// Assert are followed without consuming; Match ends a thread successfully.
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace lumenta::regex {

enum class Op : uint8_t { kChar, kAny, kClass, kSplit, kJump, kSave, kAssert, kMatch };

enum class Assertion : uint8_t {
  kTextStart,
  kTextEnd,
  kLineStart,
  kLineEnd,
  kWordBoundary,
  kNotWordBoundary,
};

struct Inst {
  Op op = Op::kMatch;
  Assertion assertion = Assertion::kTextStart;  // kAssert
  char16_t ch = 0;  // kChar (already folded when the program ignores case)
  uint32_t x = 0;   // kSplit: preferred branch; kJump: target; kSave: slot; kClass: index
  uint32_t y = 0;   // kSplit: the other branch

  static Inst Of(Op op, uint32_t x = 0, uint32_t y = 0) {
    Inst inst;
    inst.op = op;
    inst.x = x;
    inst.y = y;
    return inst;
  }
};

// A set of characters as sorted, disjoint ranges, with a bitmap for ASCII.
class CharClass {
 public:
  CharClass(std::vector<std::pair<char16_t, char16_t>> ranges, bool negated);
  [[nodiscard]] bool Contains(char16_t c) const {
    if (c < 128) return ((ascii_[c >> 6] >> (c & 63)) & 1) != 0;
    return ContainsWide(c);
  }
  // Whether some character at or above 128 belongs to the set.
  [[nodiscard]] bool HasWide() const;

 private:
  [[nodiscard]] bool ContainsWide(char16_t c) const;
  std::vector<std::pair<char16_t, char16_t>> ranges_;
  bool negated_;
  std::array<uint64_t, 2> ascii_{};
};

// Which characters can begin a match; lets the search skip ahead while no thread is alive.
struct FirstCharacters {
  bool useful = false;              // false when a match may be empty or begin anywhere
  std::array<uint64_t, 2> ascii{};  // ASCII characters that can begin a match
  bool wide = false;                // some character at or above 128 can begin a match
  [[nodiscard]] bool Accepts(char16_t c) const {
    if (c < 128) return ((ascii[c >> 6] >> (c & 63)) & 1) != 0;
    return wide;
  }
};

struct Program {
  std::vector<Inst> code;  // starts at 0: Save 0, the expression, Save 1, Match
  std::vector<CharClass> classes;
  int groupCount = 0;  // capture groups; slots 2k and 2k+1 hold group k (0: the whole match)
  bool ignoreCase = false;
  FirstCharacters first;
  [[nodiscard]] size_t SlotCount() const { return 2 * static_cast<size_t>(groupCount) + 2; }
};

// Line terminators: "." never matches one; ^ and $ of multi-line mode stand beside them.
inline bool IsLineTerminator(char16_t c) {
  return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

inline bool IsWordCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_';
}

}  // namespace lumenta::regex
