// RegexObject: the search, its options and syntax, character (not byte) matching of GBK text,
// the positions it reports, ReplaceAll's group references, rejected patterns and the empty
// object. The same tables run natively and under Wine.
#include "base/regex/regex_object.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/regex/regex_compiler.h"

namespace lumenta {
namespace {

using namespace std::string_literals;

// GBK bytes of the characters used below.
const std::string kZhong = "\xD6\xD0";                 // 中
const std::string kWen = "\xCE\xC4";                   // 文
const std::string kYi = "\xD2\xBB";                    // 一 (U+4E00)
const std::string kYu = "\xFD\x9B";                    // 龥 (U+9FA5)
const std::string kTrailA = "\xB0\x41";                // a character whose second byte is "A"
const std::string kFullA = "\xA3\xC1";                 // Ａ (full-width)
const std::string kFullSmallA = "\xA3\xE1";            // ａ
const std::string kAlpha = "\xA6\xA1";                 // Α (Greek capital)
const std::string kSmallAlpha = "\xA6\xC1";            // α
const std::string kCyrA = "\xA7\xA1";                  // А (Cyrillic capital)
const std::string kCyrSmallA = "\xA7\xD1";             // а
const std::string kPlaceholder = "#\xD2\xFD\xBA\xC5";  // #引号
const std::string kDetection = "<meta.+?charset=[^\\w]?([-\\w]+)";

enum Flags : unsigned {
  kDefaults = 0,
  kCaseSensitive = 1,
  kSingleLine = 2,  // multi-line off
  kFirstOnly = 4,   // global off
};

bool Create(RegexObject& r, const std::string& pattern, const std::string& subject,
            unsigned flags) {
  return r.Create(pattern, subject, flags & kCaseSensitive, !(flags & kSingleLine),
                  !(flags & kFirstOnly));
}

// "count [text@byte#char (group@byte, ...)] ...", a group that took no part shown as "-".
std::string Describe(const RegexObject& r) {
  std::string out = std::to_string(r.MatchCount());
  for (int m = 1; m <= r.MatchCount(); ++m) {
    int position = -2;
    const Text text = r.GetMatch(m, &position);
    out += " [" + text + "@" + std::to_string(position) + "#" + std::to_string(r.GetFirstIndex(m));
    for (int g = 1; g <= r.SubMatchCount(); ++g) {
      int groupPosition = -2;
      const Text group = r.GetSubMatch(m, g, &groupPosition);
      out += g == 1 ? " (" : ", ";
      out += groupPosition < 0 ? "-" : group + "@" + std::to_string(groupPosition);
    }
    if (r.SubMatchCount() > 0) out += ")";
    out += "]";
  }
  return out;
}

struct MatchCase {
  const char* name;
  std::string pattern;
  std::string subject;
  unsigned flags;
  std::string expected;
};

const std::vector<MatchCase>& MatchCases() {
  static const std::vector<MatchCase> cases = {
      // The charset detection the response decoding relies on.
      {"the meta tag's charset comes without its quote", kDetection,
       "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=\"utf-8\">",
       kDefaults,
       "1 [<meta http-equiv=\"Content-Type\" content=\"text/html; charset=\"utf-8@12#12 "
       "(utf-8@73)]"},
      {"a page without a meta tag has no match", kDetection, "{\"charset=utf-8\"}", kDefaults, "0"},
      {"META and CHARSET in capitals match by default", kDetection, "<META CHARSET=GBK>", kDefaults,
       "1 [<META CHARSET=GBK@0#0 (GBK@14)]"},
      {"META in capitals does not match case-sensitively", kDetection, "<META charset=gbk>",
       kCaseSensitive, "0"},
      {"a tag across a line break does not match", kDetection, "<meta\ncharset=utf-8>", kDefaults,
       "0"},
      // Greedy and lazy quantifiers, leftmost-first alternation.
      {"a greedy quantifier takes the longest", "<.+>", "<a><b>", kDefaults, "1 [<a><b>@0#0]"},
      {"a lazy quantifier takes the shortest", "<.+?>", "<a><b>", kDefaults,
       "2 [<a>@0#0] [<b>@3#3]"},
      {"greedy counted repetition", "a{2,3}", "aaaaaaa", kDefaults, "2 [aaa@0#0] [aaa@3#3]"},
      {"lazy counted repetition", "a{2,3}?", "aaaaaaa", kDefaults, "3 [aa@0#0] [aa@2#2] [aa@4#4]"},
      {"open counted repetition", "\\d{2,}", "1 22 333", kDefaults, "2 [22@2#2] [333@5#5]"},
      {"exact counted repetition", "(ab){2}", "ababab", kDefaults, "1 [abab@0#0 (ab@2)]"},
      {"the first alternative that leads to a match wins", "(a|ab)(c|bcd)(d*)", "abcd", kDefaults,
       "1 [abcd@0#0 (a@0, bcd@1, @4)]"},
      {"a lazy star before a literal", "a.*?b", "aXbYb", kDefaults, "1 [aXb@0#0]"},
      {"a group repeated keeps its last iteration", "(\\w)+", "abc", kDefaults,
       "1 [abc@0#0 (c@2)]"},
      {"an optional group that took no part", "(x)?y", "y", kDefaults, "1 [y@0#0 (-)]"},
      {"a group that took no part in one alternative", "(a)|(b)", "ab", kDefaults,
       "2 [a@0#0 (a@0, -)] [b@1#1 (-, b@1)]"},
      {"a non-capturing group is not counted", "(?:a)(b)", "ab", kDefaults, "1 [ab@0#0 (b@1)]"},
      // Classes and escapes.
      {"a class with a range", "[a-c]+", "xxabcz", kDefaults, "1 [abc@2#2]"},
      {"a negated class", "[^a-c ]+", "ab xyz c", kDefaults, "1 [xyz@3#3]"},
      {"\\w is letters, digits and underscore", "\\w+", "a_1-b", kDefaults, "2 [a_1@0#0] [b@4#4]"},
      {"\\W, \\d, \\D", "\\W\\d\\D", "a-1b", kDefaults, "1 [-1b@1#1]"},
      {"\\s and \\S", "\\s\\S", "a\tb", kDefaults, "1 [\tb@1#1]"},
      {"the ideographic space is white space", "\\s",
       "a\xA1\xA1"
       "b",
       kDefaults, "1 [\xA1\xA1@1#1]"},
      {"a set inside a class", "[\\d.]+", "v1.25!", kDefaults, "1 [1.25@1#1]"},
      {"a hyphen beside a set is literal", "[\\w-]+", "utf-8;", kDefaults, "1 [utf-8@0#0]"},
      {"an empty class matches nothing", "a[]", "a", kDefaults, "0"},
      {"a negated empty class matches anything, a line break too", "a[^]b", "a\nb", kDefaults,
       "1 [a\nb@0#0]"},
      {"escapes for characters", "\\x41\\u0042\\103\\t\\cJ", "ABC\t\n", kDefaults,
       "1 [ABC\t\n@0#0]"},
      {"metacharacters escaped", "\\(\\.\\*\\)", "(.*)", kDefaults, "1 [(.*)@0#0]"},
      {"braces that form no quantifier are literal", "a{,2}}{x", "a{,2}}{x", kDefaults,
       "1 [a{,2}}{x@0#0]"},
      {"\\b finds whole words", "\\bfoo\\b", "foo foobar afoo foo", kDefaults,
       "2 [foo@0#0] [foo@16#16]"},
      {"\\B finds inner places", "\\Boo", "foo oo", kDefaults, "1 [oo@1#1]"},
      // Anchors, line breaks and the options.
      {"^ and $ stand at every line with Multiline", "^\\w+$", "ab\ncd\r\nef", kDefaults,
       "3 [ab@0#0] [cd@3#3] [ef@7#7]"},
      {"^ and $ stand only at the ends without Multiline", "^\\w+$", "ab\ncd", kSingleLine, "0"},
      {"^ without Multiline matches once", "^a", "a\na", kSingleLine, "1 [a@0#0]"},
      {"$ without Multiline does not stand before a final line break", "a$", "a\n", kSingleLine,
       "0"},
      {"dot never matches a line break", "a.c", "a\nc a\rc abc", kDefaults, "1 [abc@8#8]"},
      {"with Global off only the first match is found", "\\d+", "12 345", kFirstOnly, "1 [12@0#0]"},
      {"IgnoreCase is on by default", "abc", "xABC", kDefaults, "1 [ABC@1#1]"},
      {"IgnoreCase applies to classes", "[a-c]+", "xxABCabc", kDefaults, "1 [ABCabc@2#2]"},
      {"case-sensitive search", "[a-c]+", "xxABCabc", kCaseSensitive, "1 [abc@5#5]"},
      {"IgnoreCase folds full-width letters", kFullSmallA, "x" + kFullA, kDefaults,
       "1 [" + kFullA + "@1#1]"},
      {"IgnoreCase folds Greek and Cyrillic", kSmallAlpha + kCyrA, kAlpha + kCyrSmallA, kDefaults,
       "1 [" + kAlpha + kCyrSmallA + "@0#0]"},
      {"case-sensitive search keeps Greek apart", kSmallAlpha, kAlpha, kCaseSensitive, "0"},
      // Empty matches in a global search.
      {"empty matches at every place", "x*", "abc", kDefaults, "4 [@0#0] [@1#1] [@2#2] [@3#3]"},
      {"an empty match may follow a longer one", "a*", "baaa", kDefaults,
       "3 [@0#0] [aaa@1#1] [@4#4]"},
      {"the empty pattern matches at every place", "", "ab", kDefaults, "3 [@0#0] [@1#1] [@2#2]"},
      {"an empty subject", "a*", "", kDefaults, "1 [@0#0]"},
      // GBK characters are single characters.
      {"dot takes a whole double-byte character", ".", kZhong + "a", kDefaults,
       "2 [" + kZhong + "@0#0] [a@2#1]"},
      {"\\w never matches half of a double-byte character", "\\w", kTrailA, kDefaults, "0"},
      {"a letter never matches the second byte of a character", "A", kTrailA + "A", kDefaults,
       "1 [A@2#1]"},
      {"\\W takes a double-byte character whole", "\\W+", "a" + kZhong + kWen + "b", kDefaults,
       "1 [" + kZhong + kWen + "@1#1]"},
      {"FirstIndex counts characters, positions count bytes", "b", kZhong + kWen + "abc", kDefaults,
       "1 [b@5#3]"},
      {"a class range of Chinese characters", "[" + kYi + "-" + kYu + "]+",
       "ab" + kZhong + kWen + "cd", kDefaults, "1 [" + kZhong + kWen + "@2#2]"},
      {"a Chinese character by its code", "\\u4E2D", "a" + kZhong, kDefaults,
       "1 [" + kZhong + "@1#1]"},
      {"a negated class takes a double-byte character whole", "[^a]", kZhong, kDefaults,
       "1 [" + kZhong + "@0#0]"},
      {"counted repetition counts characters", "^.{2}$", kZhong + kWen, kDefaults,
       "1 [" + kZhong + kWen + "@0#0]"},
      // Positions are the true byte offsets of the match and of its groups.
      {"each repeated match reports its own position", "a", "aaa", kDefaults,
       "3 [a@0#0] [a@1#1] [a@2#2]"},
      {"a group reports its own position, not an earlier copy", "a(a)", "aa", kDefaults,
       "1 [aa@0#0 (a@1)]"},
      {"positions after double-byte characters", "a", kZhong + "a" + kZhong + "a", kDefaults,
       "2 [a@2#1] [a@5#3]"},
      {"a group's position after double-byte characters", kZhong + "(" + kWen + ")",
       "x" + kWen + kZhong + kWen, kDefaults, "1 [" + kZhong + kWen + "@3#2 (" + kWen + "@5)]"},
      {"a case-insensitive group's position", "x(a)", "AX xA", kDefaults, "1 [xA@3#3 (A@4)]"},
      {"nested groups after double-byte characters, match by match", "(.(b))",
       "x" + kZhong + "b" + kZhong + "b", kDefaults,
       "2 [" + kZhong + "b@1#1 (" + kZhong + "b@1, b@3)] [" + kZhong + "b@4#3 (" + kZhong +
           "b@4, b@6)]"},
      {"a group that took no part between two that did", "(a)(x)?(" + kWen + ")",
       kZhong + "a" + kWen, kDefaults, "1 [a" + kWen + "@2#1 (a@2, -, " + kWen + "@3)]"},
      {"an empty match after a double-byte character moves on by one character", "b*", kZhong + "b",
       kDefaults, "3 [@0#0] [b@2#1] [@3#2]"},
      // The subject and the pattern end at their first zero byte.
      {"the subject ends at a zero byte", "b", "a\0b"s, kDefaults, "0"},
      {"the pattern ends at a zero byte", "a\0b"s, "ab", kDefaults, "1 [a@0#0]"},
  };
  return cases;
}

TEST(RegexObject, EveryMatchCaseFindsItsMatchesGroupsAndPositions) {
  for (const MatchCase& c : MatchCases()) {
    RegexObject r;
    ASSERT_TRUE(Create(r, c.pattern, c.subject, c.flags)) << c.name;
    EXPECT_EQ(Describe(r), c.expected) << c.name;
  }
}

TEST(RegexObject, RejectedPatternsMakeCreateFalseAndLeaveAnEmptyObject) {
  const std::vector<std::string> rejected = {
      "(",
      "(a",
      "a)",
      "(a))",
      "[a",
      "[",
      "*",
      "a**",
      "+a",
      "?",
      "{2}",
      "a{2}{3}",
      "a{2,1}",
      "[z-a]",
      "(a)\\1",
      "(?=a)",
      "(?!a)",
      "(?<name>a)",
      "(?<=a)",
      "a\\",
      "^*",
      "$+",
      "\\b+",
      "\\B{2}",
      std::string(regex::kMaxNesting + 1, '(') + std::string(regex::kMaxNesting + 1, ')'),
      "a{" + std::to_string(regex::kMaxInstructions) + "}",
      "(?:a{1000}){1000}"};
  for (const std::string& pattern : rejected) {
    RegexObject r;
    ASSERT_TRUE(r.Create("a", "aaa"));  // a successful search first, to be replaced
    EXPECT_FALSE(r.Create(pattern, "aaa")) << pattern;
    EXPECT_EQ(r.MatchCount(), 0) << pattern;
    EXPECT_EQ(r.GetMatch(1), "") << pattern;
    EXPECT_EQ(r.GetSubMatch(1, 1), "") << pattern;
    EXPECT_EQ(r.SubMatchCount(), 0) << pattern;
    EXPECT_EQ(r.GetPattern(), "") << pattern;
    EXPECT_EQ(r.ReplaceAll("x"), "") << pattern;
    EXPECT_EQ(r.GetFirstIndex(1), -1) << pattern;
  }
}

TEST(RegexObject, LimitsAcceptWhatRealPatternsNeed) {
  RegexObject r;
  const std::string nested =
      std::string(regex::kMaxNesting, '(') + "a" + std::string(regex::kMaxNesting, ')');
  ASSERT_TRUE(r.Create(nested, "a"));
  EXPECT_EQ(r.SubMatchCount(), regex::kMaxNesting);
  ASSERT_TRUE(r.Create("\\w{1000}", std::string(1000, 'x')));
  EXPECT_EQ(r.MatchCount(), 1);
}

TEST(RegexObject, AnEmptyObjectAnswersEmptyTextZeroOrMinusOne) {
  const RegexObject r;
  int position = 7;
  EXPECT_EQ(r.MatchCount(), 0);
  EXPECT_EQ(r.SubMatchCount(), 0);
  EXPECT_EQ(r.GetMatch(1, &position), "");
  EXPECT_EQ(position, -1);
  EXPECT_EQ(r.GetSubMatch(1, 1), "");
  EXPECT_EQ(r.GetPattern(), "");
  EXPECT_EQ(r.ReplaceAll("x"), "");
  EXPECT_EQ(r.GetFirstIndex(1), -1);
}

TEST(RegexObject, NumbersOutOfRangeGiveEmptyTextAndNoPosition) {
  RegexObject r;
  ASSERT_TRUE(r.Create("(a)(b)?", "a ab"));
  ASSERT_EQ(r.MatchCount(), 2);
  ASSERT_EQ(r.SubMatchCount(), 2);
  for (const auto& [match, group] :
       std::vector<std::pair<int, int>>{{0, 1}, {3, 1}, {-1, 1}, {1, 0}, {1, 3}, {2, -1}}) {
    int position = 7;
    EXPECT_EQ(r.GetSubMatch(match, group, &position), "") << match << "," << group;
    EXPECT_EQ(position, -1) << match << "," << group;
  }
  for (int match : {0, 3, -5}) {
    int position = 7;
    EXPECT_EQ(r.GetMatch(match, &position), "") << match;
    EXPECT_EQ(position, -1) << match;
    EXPECT_EQ(r.GetFirstIndex(match), -1) << match;
  }
  EXPECT_EQ(r.GetMatch(2), "ab");
}

TEST(RegexObject, SubMatchCountIsZeroWithoutAMatch) {
  RegexObject r;
  ASSERT_TRUE(r.Create("(a)(b)", "xyz"));
  EXPECT_EQ(r.MatchCount(), 0);
  EXPECT_EQ(r.SubMatchCount(), 0);
}

TEST(RegexObject, TheQuotePlaceholderBecomesAQuoteOnlyWhenAskedFor) {
  RegexObject r;
  const std::string pattern = kPlaceholder + "(\\w+)" + kPlaceholder;
  ASSERT_TRUE(r.Create(pattern, "x=\"abc\"", false, true, true, true));
  EXPECT_EQ(r.GetPattern(), "\"(\\w+)\"");
  EXPECT_EQ(r.GetSubMatch(1, 1), "abc");

  ASSERT_TRUE(r.Create(pattern, "x=\"abc\" " + pattern.substr(0, 5) + "d" + kPlaceholder));
  EXPECT_EQ(r.GetPattern(), pattern);
  EXPECT_EQ(r.GetSubMatch(1, 1), "d");
}

TEST(RegexObject, ACopyKeepsItsResultsWhenTheOriginalSearchesAgain) {
  RegexObject original;
  ASSERT_TRUE(original.Create("(\\d)", "a1b2"));
  RegexObject copy = original;
  ASSERT_TRUE(original.Create("x", "yyy"));
  EXPECT_EQ(original.MatchCount(), 0);
  EXPECT_EQ(copy.MatchCount(), 2);
  EXPECT_EQ(copy.GetSubMatch(2, 1), "2");
  EXPECT_EQ(copy.GetPattern(), "(\\d)");
  EXPECT_EQ(copy.ReplaceAll("<$1>"), "a<1>b<2>");

  RegexObject assigned;
  assigned = copy;
  ASSERT_FALSE(copy.Create("(", "x"));
  EXPECT_EQ(assigned.GetMatch(1), "1");
}

struct ReplaceCase {
  const char* name;
  std::string pattern;
  std::string subject;
  unsigned flags;
  std::string replacement;
  std::string expected;
};

const std::vector<ReplaceCase>& ReplaceCases() {
  static const std::vector<ReplaceCase> cases = {
      {"groups swap places", "(\\S+)(\\s+)(\\S+)", "hello world", kDefaults, "$3$2$1",
       "world hello"},
      {"every match is replaced", "o", "foo boo", kDefaults, "0", "f00 b00"},
      {"only the first match without Global", "o", "foo boo", kFirstOnly, "0", "f0o boo"},
      {"no match leaves the subject as it is", "x", "abc", kDefaults, "-", "abc"},
      {"$& is the whole match", "\\d+", "a12b3", kDefaults, "<$&>", "a<12>b<3>"},
      {"$` is the text before the match", "b", "abc", kDefaults, "[$`]", "a[a]c"},
      {"$' is the text after the match", "b", "abc", kDefaults, "[$']", "a[c]c"},
      {"$$ is one dollar sign", "b", "abc", kDefaults, "$$1", "a$1c"},
      {"$0 stays as it is", "(b)", "abc", kDefaults, "$0", "a$0c"},
      {"a group number above the count stays as it is", "(b)", "abc", kDefaults, "$2$9", "a$2$9c"},
      {"$01 is group 1", "(b)", "abc", kDefaults, "$01", "abc"},
      {"$10 is group 1 and a 0 with one group", "(b)", "abc", kDefaults, "$10", "ab0c"},
      {"$10 is group 10 with ten groups", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "abcdefghij", kDefaults,
       "$10$1", "ja"},
      {"$ before another character stays", "b", "abc", kDefaults, "$x$", "a$x$c"},
      {"a group that took no part gives nothing", "(x)?b", "abc", kDefaults, "[$1]", "a[]c"},
      {"empty matches insert at every place", "x*", "abc", kDefaults, "-", "-a-b-c-"},
      {"GBK text around group references", "(\\d+)", "a1" + kZhong, kDefaults, kWen + "$1" + kWen,
       "a" + kWen + "1" + kWen + kZhong},
      {"a double-byte character is replaced whole", ".", kZhong + "a", kDefaults, "x", "xx"},
      {"an empty subject with a pattern that matches empty", "^", "", kDefaults, "x", "x"},
  };
  return cases;
}

TEST(RegexObject, EveryReplaceCaseGivesItsText) {
  for (const ReplaceCase& c : ReplaceCases()) {
    RegexObject r;
    ASSERT_TRUE(Create(r, c.pattern, c.subject, c.flags)) << c.name;
    EXPECT_EQ(r.ReplaceAll(c.replacement), c.expected) << c.name;
  }
}

TEST(RegexObject, ReplaceAllLeavesTheStoredSubjectUnchanged) {
  RegexObject r;
  ASSERT_TRUE(r.Create("(\\w)(\\d)", "a1 b2"));
  EXPECT_EQ(r.ReplaceAll("$2$1"), "1a 2b");
  EXPECT_EQ(r.ReplaceAll("$2$1"), "1a 2b");
  EXPECT_EQ(r.GetMatch(2), "b2");
  EXPECT_EQ(r.ReplaceAll("$'"), " b2 ");
}

TEST(RegexObject, AMebibyteSubjectIsSearchedWithoutRecursionOrBlowUp) {
  // Patterns that take exponential time in a backtracking engine, or deep recursion per
  // character, over a 1 MiB subject.
  const std::string as(1 << 20, 'a');
  RegexObject r;
  ASSERT_TRUE(r.Create("(a|aa)*b", as));
  EXPECT_EQ(r.MatchCount(), 0);
  ASSERT_TRUE(r.Create("^(a*)*$", as));
  ASSERT_EQ(r.MatchCount(), 1);
  EXPECT_EQ(r.GetMatch(1).size(), as.size());
  ASSERT_TRUE(r.Create("(?:a|b)+?$", as, false, false, false));
  int position = -2;
  EXPECT_EQ(r.GetMatch(1, &position).size(), as.size());
  EXPECT_EQ(position, 0);

  std::string chinese;
  for (int i = 0; i < (1 << 19); ++i) chinese += kZhong;
  ASSERT_TRUE(r.Create("(.)$", chinese));
  ASSERT_EQ(r.MatchCount(), 1);
  EXPECT_EQ(r.GetFirstIndex(1), (1 << 19) - 1);
  EXPECT_EQ(r.GetSubMatch(1, 1, &position), kZhong);
  EXPECT_EQ(position, (1 << 20) - 2);
}

TEST(RegexObject, AGlobalSearchFindsEveryMatchOfALongSubject) {
  std::string subject;
  for (int i = 0; i < 50000; ++i) subject += "k" + std::to_string(i) + "=v;";
  RegexObject r;
  ASSERT_TRUE(r.Create("(\\w+?)=(.*?);", subject));
  ASSERT_EQ(r.MatchCount(), 50000);
  EXPECT_EQ(r.GetSubMatch(50000, 1), "k49999");
  EXPECT_EQ(r.GetSubMatch(12345, 2), "v");
}

}  // namespace
}  // namespace lumenta
