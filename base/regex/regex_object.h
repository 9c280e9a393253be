#pragma once
// RegexObject: one regular-expression search over one subject text, and the answers about its
// matches (how many, the text and position of each match and capture group, a replacement
// over the subject). The engine is the program's own (regex_compiler.h, regex_matcher.h); no
// system component is involved.
//
// An object is empty until a Create succeeds; an empty object answers empty text, 0 or false.
// Copies are independent values (they share the immutable search result).
//
// Positions: matching runs on characters, so a double-byte GBK character is one character.
// GetFirstIndex gives a match's 0-based character index; the position outputs of GetMatch and
// GetSubMatch give the 0-based byte offset in the subject text where that match or group
// really starts, or -1 when there is no such match or group.
#include <memory>
#include <string_view>

#include "base/text.h"

namespace lumenta {

class RegexObject {
 public:
  RegexObject() = default;

  // Searches `subject` (up to its first zero byte) for `pattern`. IgnoreCase is on unless
  // `caseSensitive`; with `multiline` ^ and $ also match beside line breaks; with `global`
  // every match is collected, otherwise only the first. With `replaceQuotePlaceholder` every
  // "#引号" in the pattern becomes a double quote. "." never matches a line break.
  // Returns true when the search ran, even without a match; false (and an empty object) when
  // the pattern is rejected: a syntax error such as an unclosed group, a back-reference or
  // look-ahead, or a pattern too large to run (and for a subject of 2 GiB or more, whose
  // positions an int cannot hold).
  [[nodiscard]] bool Create(std::string_view pattern, std::string_view subject,
                            bool caseSensitive = false, bool multiline = true, bool global = true,
                            bool replaceQuotePlaceholder = false);

  // The pattern of the last successful Create (placeholders already replaced).
  [[nodiscard]] Text GetPattern() const;

  // The subject with every match (only the first when not global) replaced by `replacement`,
  // in which $1..$99, $&, $`, $' and $$ are resolved (regex_replacement.h). The stored subject
  // itself stays unchanged.
  [[nodiscard]] Text ReplaceAll(std::string_view replacement) const;

  [[nodiscard]] int MatchCount() const;

  // Text of match `number` (1-based); empty when out of range.
  [[nodiscard]] Text GetMatch(int number, int* position = nullptr) const;

  // Text of capture group `group` (1-based) of match `number` (1-based); empty when either is
  // out of range or the group took no part in the match.
  [[nodiscard]] Text GetSubMatch(int number, int group, int* position = nullptr) const;

  // Number of capture groups of the first match; 0 when nothing matched.
  [[nodiscard]] int SubMatchCount() const;

  // 0-based character index of match `number` in the subject; -1 when out of range.
  [[nodiscard]] int GetFirstIndex(int number) const;

 private:
  struct Result;
  [[nodiscard]] const int32_t* Slots(int number) const;
  std::shared_ptr<const Result> result_;
};

}  // namespace lumenta
