// Cookie collection and merging, byte for byte.
#include "http/cookies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumenta {
namespace {

std::string Collect(const std::vector<std::string>& lines, std::string received = "") {
  for (const auto& line : lines) CollectResponseCookies(line, received);
  FinishResponseCookies(received);
  return received;
}

struct CollectCase {
  const char* name;
  std::vector<std::string> lines;
  std::string before;
  std::string expected;
};

class CollectResponseCookiesTable : public testing::TestWithParam<CollectCase> {};

TEST_P(CollectResponseCookiesTable, AppendsTheEntriesOfSetCookieLines) {
  const CollectCase& c = GetParam();
  EXPECT_EQ(Collect(c.lines, c.before), c.expected);
}

const CollectCase kCollectCases[] = {
    {"AttributesAreCutAndNoSeparatorTrails",
     {"HTTP/1.1 200 OK", "Set-Cookie: a=1; path=/", "Set-Cookie: b=2", ""},
     "",
     "a=1; b=2"},
    {"LowerCaseNameIsNotCollected", {"set-cookie: a=1"}, "", ""},
    {"NameWithoutBlankAfterTheColonIsNotCollected", {"Set-Cookie:a=1"}, "", ""},
    {"EntriesFollowWhatTheVariableHeld", {"Set-Cookie: b=2"}, "x=0; ", "x=0; b=2"},
    {"EntriesFollowAHeldTextWithoutSeparatorDirectly", {"Set-Cookie: b=2"}, "x=0", "x=0b=2"},
    {"EntryIsTrimmedOfBlanksAndFullWidthSpaces",
     {"Set-Cookie:  \xA1\xA1 a=1 \xA1\xA1; HttpOnly"},
     "",
     "a=1"},
    {"TabsAreNotTrimmed", {"Set-Cookie: \ta=1"}, "", "\ta=1"},
    {"EveryRepeatedNameIsRemovedWithoutAttributes", {"Set-Cookie: a=Set-Cookie:1"}, "", "a=1"},
    {"RepeatedNameIsRemovedWithoutRegardToCase", {"Set-Cookie: a=SET-COOKIE:1"}, "", "a=1"},
    {"EmptyEntryStillAddsASeparator", {"Set-Cookie: ;x", "Set-Cookie: b=2"}, "", "; b=2"},
    {"NoCookieLinesLeaveTheTextAsItWas", {"HTTP/1.1 200 OK", "Location: /x"}, "x=0", "x=0"},
    {"ClosingStepAlsoTrimsAHeldSeparator", {}, "x=0; ", "x=0"},
};

INSTANTIATE_TEST_SUITE_P(Cases, CollectResponseCookiesTable, testing::ValuesIn(kCollectCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct MergeCase {
  const char* name;
  std::string oldCookies;
  std::string newCookies;
  std::string expected;
};

class MergeCookiesTable : public testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookiesTable, ReturnsAndStoresTheMergedText) {
  const MergeCase& c = GetParam();
  std::string old = c.oldCookies;
  EXPECT_EQ(MergeCookies(old, c.newCookies), c.expected);
  EXPECT_EQ(old, c.expected);
}

const MergeCase kMergeCases[] = {
    {"NewValuesWinSentOnesFollowDeletedOnesGo", "a=1; b=2", "b=3; c=deleted", "b=3; a=1"},
    {"OnlyTheFirstSentEntryOfANameJoins", "a=1; a=5", "", "a=1"},
    {"RepeatsAreRemoved", "b=2", "a=1; a=1", "a=1; b=2"},
    {"EverythingDeletedGivesEmptyText", "a=1", "a=deleted", ""},
    {"SentEntryMarkedDeletedGoesToo", "a=deleted", "", ""},
    {"BothEmptyGiveEmptyText", "", "", ""},
    {"TrailingSemicolonsAreTolerated", "a=1;", "b=2;", "b=2; a=1"},
    {"BlanksAndFullWidthSpacesAroundAreTrimmed",
     " \xA1\xA1"
     "a=1 ",
     "\xA1\xA1"
     "b=2\xA1\xA1",
     "b=2; a=1"},
    {"NamesAreComparedWithCase", "A=1", "a=2", "a=2; A=1"},
    {"NamesAreComparedTrimmed", "a =1", "a=2", "a=2"},
    {"EntryWithoutEqualsIsNamedByItself", "flag; a=1", "flag", "flag; a=1"},
    {"MarkerMustEndTheEntry", "", "a=deletedx; b=deleted", "a=deletedx"},
    {"AWholeCookieLineTakesPartAsItsFirstEntry", "Cookie: a=1; b=2", "b=3", "b=3; Cookie: a=1"},
};

INSTANTIATE_TEST_SUITE_P(Cases, MergeCookiesTable, testing::ValuesIn(kMergeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MergeCookies, AcceptsTheOldVariableAsTheNewText) {
  std::string cookies = "a=1; a=2";
  EXPECT_EQ(MergeCookies(cookies, cookies), "a=1; a=2");
}

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals) {
  EXPECT_EQ(CookieName("a=1"), "a");
  EXPECT_EQ(CookieName(" a =1=2"), "a");
  EXPECT_EQ(CookieName("\xA1\xA1name\xA1\xA1"), "name");
  EXPECT_EQ(CookieName("=1"), "");
  EXPECT_EQ(CookieName(""), "");
}

TEST(HasCookieNamed, ComparesNamesExactly) {
  const std::vector<Text> list = {"a=1", " b =2", "C=3"};
  EXPECT_TRUE(HasCookieNamed(list, "a"));
  EXPECT_TRUE(HasCookieNamed(list, "b"));
  EXPECT_FALSE(HasCookieNamed(list, "c"));
  EXPECT_FALSE(HasCookieNamed(list, "a=1"));
  EXPECT_FALSE(HasCookieNamed({}, ""));
}

TEST(RemoveDuplicates, KeepsFirstAppearancesInOrder) {
  EXPECT_EQ(RemoveDuplicates("b; a; b; c; a", "; "), "b; a; c");
  EXPECT_EQ(RemoveDuplicates("a;;b;", ";"), "a;;b");  // the empty item is kept once
  EXPECT_EQ(RemoveDuplicates("", "; "), "");
  EXPECT_EQ(RemoveDuplicates("a=1; A=1", "; "), "a=1; A=1");
}

}  // namespace
}  // namespace lumenta
