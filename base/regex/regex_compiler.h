#pragma once
// Compiles a pattern into a Pike VM program. The syntax is that of ECMAScript regular
// expressions as script engines of the platform read them: alternation, greedy and lazy
// quantifiers (* + ? {n} {n,} {n,m}), capturing and (?:...) groups, classes and negated
// classes, . \d \D \w \W \s \S \b \B ^ $, the escapes \n \r \t \f \v \0 \xhh \uhhhh \cX and
// octal escapes, "{" and "}" taken literally where they form no quantifier.
// Back-references and look-ahead are not supported: a pattern using them is rejected, as are
// syntax errors (an unclosed group or class, a quantifier with nothing to repeat, a range out
// of order) and patterns whose program would be unreasonably large.
#include <optional>
#include <string_view>

#include "base/regex/regex_program.h"

namespace lumenta::regex {

struct CompileOptions {
  bool ignoreCase = false;
  bool multiline = false;  // ^ and $ also match at line terminators
};

// Limits that keep one search bounded in memory and time (each subject character costs at
// most one visit per instruction).
inline constexpr size_t kMaxInstructions = 1u << 16;
inline constexpr int kMaxNesting = 256;

[[nodiscard]] std::optional<Program> Compile(std::u16string_view pattern, CompileOptions options);

}  // namespace lumenta::regex
