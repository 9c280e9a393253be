// The regular-expression engine against PCRE2 (16-bit units, so both read the same characters)
// on many random patterns and subjects: every match of a global search and every capture group
// must be the same. The generated patterns stay inside the syntax both engines read alike:
// a loop without an upper bound is only put on something that cannot match the empty text
// (an engine may treat an empty iteration of such a loop differently), subjects hold only "\n"
// as a line break, and case is only folded for ASCII letters.
#define PCRE2_CODE_UNIT_WIDTH 16
#include <gtest/gtest.h>
#include <pcre2.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/regex/regex_compiler.h"
#include "base/regex/regex_matcher.h"

namespace lumenta::regex {
namespace {

class PatternGenerator {
 public:
  explicit PatternGenerator(uint32_t seed) : rng_(seed) {}

  std::u16string Pattern() {
    bool nullable;
    return Alternation(0, nullable);
  }

  std::u16string Subject() {
    static const std::u16string alphabet = u"aabbcA1 \n\x4E2D_";
    std::u16string s;
    const int n = Below(16);
    for (int i = 0; i < n; ++i) s.push_back(alphabet[Below(static_cast<int>(alphabet.size()))]);
    return s;
  }

  int Below(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }

 private:
  std::u16string Alternation(int depth, bool& nullable) {
    std::u16string out = Sequence(depth, nullable);
    while (Below(5) == 0) {
      bool other;
      out += u"|" + Sequence(depth, other);
      nullable = nullable || other;
    }
    return out;
  }

  std::u16string Sequence(int depth, bool& nullable) {
    nullable = true;
    std::u16string out;
    const int n = 1 + Below(3);
    for (int i = 0; i < n; ++i) {
      bool termNullable;
      out += Term(depth, termNullable);
      nullable = nullable && termNullable;
    }
    return out;
  }

  std::u16string Term(int depth, bool& nullable) {
    static const char16_t* const kAssertions[] = {u"^", u"$", u"\\b", u"\\B"};
    if (Below(10) == 0) {
      nullable = true;
      return kAssertions[Below(4)];
    }
    bool atomNullable;
    const std::u16string atom = Atom(depth, atomNullable);
    nullable = atomNullable;
    if (Below(3) != 0) return atom;
    const char16_t* lazy = Below(2) ? u"?" : u"";
    switch (Below(6)) {
      case 0:
        if (atomNullable) return atom + u"?" + lazy;
        nullable = true;
        return atom + u"*" + lazy;
      case 1:
        if (atomNullable) return atom + u"{1,2}" + lazy;
        return atom + u"+" + lazy;
      case 2:
        nullable = true;
        return atom + u"?" + lazy;
      case 3: {
        const int n = Below(3);
        nullable = atomNullable || n == 0;
        return atom + u"{" + Number(n) + u"}" + lazy;
      }
      case 4: {
        const int lo = Below(3), hi = lo + Below(3);
        nullable = atomNullable || lo == 0;
        return atom + u"{" + Number(lo) + u"," + Number(hi) + u"}" + lazy;
      }
      default: {
        if (atomNullable) return atom;
        const int lo = Below(3);
        nullable = lo == 0;
        return atom + u"{" + Number(lo) + u",}" + lazy;
      }
    }
  }

  std::u16string Atom(int depth, bool& nullable) {
    static const char16_t* const kAtoms[] = {u"a",
                                             u"b",
                                             u"c",
                                             u"A",
                                             u"\x4E2D",
                                             u".",
                                             u"[ab]",
                                             u"[^a]",
                                             u"[a-c]",
                                             u"\\d",
                                             u"\\w",
                                             u"\\s",
                                             u"\\W",
                                             u"[\x4E2D"
                                             u"a]",
                                             u"[^\\n]",
                                             u"_",
                                             u"1",
                                             u" "};
    nullable = false;
    const int choice = Below(depth < 3 ? 8 : 6);
    if (choice < 6) return kAtoms[Below(sizeof kAtoms / sizeof kAtoms[0])];
    const std::u16string inner = Alternation(depth + 1, nullable);
    return (choice == 6 ? u"(" : u"(?:") + inner + u")";
  }

  static std::u16string Number(int n) { return std::u16string(1, static_cast<char16_t>(u'0' + n)); }

  std::mt19937 rng_;
};

struct Outcome {
  bool compiled = false;
  std::vector<std::vector<int>> matches;  // slots of each match of a global search
};

// The matches of a global search with the rule the object uses: after an empty match the next
// search starts one character further on.
Outcome OursGlobal(const std::u16string& pattern, const std::u16string& subject, bool ignoreCase,
                   bool multiline) {
  Outcome out;
  const std::optional<Program> program = Compile(pattern, {ignoreCase, multiline});
  if (!program) return out;
  out.compiled = true;
  Matcher matcher(*program, subject);
  std::vector<int32_t> slots;
  size_t from = 0;
  while (from <= subject.size() && matcher.Find(from, slots)) {
    out.matches.emplace_back(slots.begin(), slots.end());
    from = static_cast<size_t>(slots[1]) + (slots[1] == slots[0] ? 1 : 0);
  }
  return out;
}

Outcome Pcre2Global(const std::u16string& pattern, const std::u16string& subject, bool ignoreCase,
                    bool multiline) {
  Outcome out;
  int error;
  PCRE2_SIZE offset;
  // ECMAScript's ^ matches after a line break even at the very end of the subject.
  uint32_t options = PCRE2_DOLLAR_ENDONLY | PCRE2_ALT_CIRCUMFLEX;
  if (ignoreCase) options |= PCRE2_CASELESS;
  if (multiline) options |= PCRE2_MULTILINE;
  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  pcre2_set_newline(context, PCRE2_NEWLINE_LF);
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                   options, &error, &offset, context);
  pcre2_compile_context_free(context);
  if (!code) return out;
  out.compiled = true;
  uint32_t groups = 0;
  pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &groups);
  pcre2_match_data* data = pcre2_match_data_create(groups + 1, nullptr);
  size_t from = 0;
  while (from <= subject.size()) {
    const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(),
                               from, 0, data, nullptr);
    if (rc < 0) break;
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data);
    std::vector<int> slots;
    for (uint32_t k = 0; k < 2 * (groups + 1); ++k) {
      slots.push_back(ov[k] == PCRE2_UNSET || (k >= 2u * static_cast<uint32_t>(rc))
                          ? -1
                          : static_cast<int>(ov[k]));
    }
    out.matches.push_back(slots);
    from = ov[1] + (ov[1] == ov[0] ? 1 : 0);
  }
  pcre2_match_data_free(data);
  pcre2_code_free(code);
  return out;
}

std::string Narrow(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c == u'\n') {
      out += "\\n";
    } else if (c < 128) {
      out.push_back(static_cast<char>(c));
    } else {
      out += "<U+" + std::to_string(c) + ">";
    }
  }
  return out;
}

std::string Show(const Outcome& o) {
  if (!o.compiled) return "rejected";
  std::string out;
  for (const auto& m : o.matches) {
    out += "[";
    for (int s : m) out += std::to_string(s) + " ";
    out += "]";
  }
  return out;
}

TEST(RegexEngineAgainstPcre2, RandomPatternsFindTheSameMatchesAndGroups) {
  PatternGenerator gen(20261210);
  int compared = 0;
  for (int round = 0; round < 6000; ++round) {
    const std::u16string pattern = gen.Pattern();
    const bool ignoreCase = gen.Below(3) == 0;
    const bool multiline = gen.Below(2) == 0;
    for (int s = 0; s < 4; ++s) {
      const std::u16string subject = gen.Subject();
      const Outcome ours = OursGlobal(pattern, subject, ignoreCase, multiline);
      const Outcome theirs = Pcre2Global(pattern, subject, ignoreCase, multiline);
      ASSERT_TRUE(ours.compiled) << Narrow(pattern);
      ASSERT_EQ(Show(ours), Show(theirs))
          << "pattern /" << Narrow(pattern) << "/ subject \"" << Narrow(subject)
          << "\" ignoreCase=" << ignoreCase << " multiline=" << multiline;
      ++compared;
    }
  }
  EXPECT_GT(compared, 0);
}

}  // namespace
}  // namespace lumenta::regex
