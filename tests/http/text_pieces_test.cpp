// Trimming, list splitting and the searches the header and cookie rules are built from.
#include "http/text_pieces.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumenta {
namespace {

std::string Items(const std::vector<Text>& items) {
  std::string out = std::to_string(items.size()) + ":";
  for (const auto& item : items) out += "<" + item + ">";
  return out;
}

TEST(TrimBlanks, RemovesAsciiAndFullWidthSpacesAtBothEnds) {
  EXPECT_EQ(TrimBlanks(""), "");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks(" a b "), "a b");
  EXPECT_EQ(TrimBlanks("\xA1\xA1 a \xA1\xA1"), "a");
  EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
  EXPECT_EQ(TrimBlanks("\r\na\r\n"), "\r\na\r\n");
}

TEST(TrimBlanks, ReadsFullWidthSpacesOnlyOnCharacterBoundaries) {
  // 啊 (B0 A1) followed by a full-width space: only the space goes.
  EXPECT_EQ(TrimBlanks("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
  // A full-width space and a lone A1 byte: the lone byte is no blank and stays.
  EXPECT_EQ(TrimBlanks("\xA1\xA1\xA1"), "\xA1");
  // The second byte of a character followed by A1 does not form a blank: nothing goes.
  EXPECT_EQ(TrimBlanks("x\xB0\xA1\xA1"), "x\xB0\xA1\xA1");
}

TEST(SplitList, FollowsTheListSplittingRule) {
  EXPECT_EQ(Items(SplitList("", "; ")), "0:");
  EXPECT_EQ(Items(SplitList("a", "; ")), "1:<a>");
  EXPECT_EQ(Items(SplitList("a; b", "; ")), "2:<a><b>");
  EXPECT_EQ(Items(SplitList("a; b; ", "; ")), "2:<a><b>");
  EXPECT_EQ(Items(SplitList("a; ; b", "; ")), "3:<a><><b>");
  EXPECT_EQ(Items(SplitList("; ", "; ")), "1:<>");
  EXPECT_EQ(Items(SplitList("a\r\n\r\n", "\r\n")), "2:<a><>");
  EXPECT_EQ(Items(SplitList("ab", "")), "1:<ab>");
}

TEST(SplitList, NeverSplitsInsideADoubleByteCharacter) {
  // 瓣 is B0 EA; the separator "\xEA" must not match its second byte.
  EXPECT_EQ(Items(SplitList("\xB0\xEA"
                            "a\xEA"
                            "b",
                            "\xEA")),
            "2:<\xB0\xEA"
            "a><b>");
}

TEST(TextAfterLast, TakesTheTextAfterTheLastOccurrence) {
  EXPECT_EQ(TextAfterLast("a: b: c", ": "), "c");
  EXPECT_EQ(TextAfterLast("a: ", ": "), "");
  EXPECT_EQ(TextAfterLast("abc", ": "), "");
  EXPECT_EQ(TextAfterLast("aaa", "aa"), "");  // overlapping occurrences: the last starts at 2
  EXPECT_EQ(TextAfterLast("", ""), "");
}

TEST(TextBefore, TakesTheTextBeforeTheFirstOccurrence) {
  EXPECT_EQ(TextBefore("Set-Cookie: a: b", ": "), "Set-Cookie");
  EXPECT_EQ(TextBefore("Set-Cookie:a", ": "), "");
  EXPECT_EQ(TextBefore(": a", ": "), "");
  EXPECT_EQ(TextBefore("\x81: a: b", ": "), "\x81: a");  // 81 3A is one character
}

TEST(ReplaceAll, ReplacesLeftToRightWithoutOverlap) {
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(ReplaceAll("aaa", "aa", ""), "a");
  EXPECT_EQ(ReplaceAll("xAbx", "ab", "-", true), "x-x");
  EXPECT_EQ(ReplaceAll("xAbx", "ab", "-"), "xAbx");
  EXPECT_EQ(ReplaceAll("abc", "", "-"), "abc");
}

TEST(Contains, FoldsOnlyAsciiLettersWhenAsked) {
  EXPECT_TRUE(Contains("x COOKIE: y", "Cookie:", true));
  EXPECT_FALSE(Contains("x COOKIE: y", "Cookie:"));
  EXPECT_TRUE(Contains("abc", ""));
  EXPECT_FALSE(
      Contains("\x81"
               "a",
               "A", true));  // 81 61 is one character, not an "a"
}

TEST(StartsWith, ComparesThePrefixOnly) {
  EXPECT_TRUE(StartsWith("Location: /x", "location: ", true));
  EXPECT_FALSE(StartsWith("Location: /x", "location: "));
  EXPECT_FALSE(StartsWith("Loc", "Location", true));
  EXPECT_TRUE(StartsWith("abc", ""));
}

}  // namespace
}  // namespace lumenta
