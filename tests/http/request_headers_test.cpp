// The header block rules, byte for byte. The same table runs natively and under Wine.
#include "http/request_headers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumenta {
namespace {

// The default lines, as they appear in a block.
const std::string kUserAgent =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)";
const std::string kAccept = "Accept: text/html, application/xhtml+xml, */*";
const std::string kEncoding = "Accept-Encoding: identity";
const std::string kLanguage = "Accept-Language: zh-cn";
const std::string kContentType = "Content-Type: application/x-www-form-urlencoded";
const std::string kCache = "Cache-Control: no-cache";

std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\r\n" : "") + lines[i];
  return out;
}

struct BlockCase {
  const char* name;
  std::string extraHeaders;
  int method;
  std::string sendCookies;
  bool complete;
  bool normalise;
  std::string expected;
};

class BuildRequestHeadersTable : public testing::TestWithParam<BlockCase> {};

TEST_P(BuildRequestHeadersTable, GivesTheExactBlock) {
  const BlockCase& c = GetParam();
  EXPECT_EQ(BuildRequestHeaders(c.extraHeaders, c.method, c.sendCookies, c.complete, c.normalise),
            c.expected);
}

const BlockCase kBlockCases[] = {
    {"TokenRequestGetsTheDefaultsWithContentTypeForPost", "", 1, "", true, true,
     Lines({kUserAgent, kAccept, kEncoding, kLanguage, kContentType, kCache})},
    {"RecognitionRequestKeepsItsContentTypeLineFirst",
     "Content-Type:application/x-www-form-urlencoded", 1, "", true, true,
     Lines({"Content-Type:application/x-www-form-urlencoded", kUserAgent, kAccept, kEncoding,
            kLanguage, kCache})},
    {"GetHasNoContentTypeLine", "", 0, "", true, true,
     Lines({kUserAgent, kAccept, kEncoding, kLanguage, kCache})},
    {"VerbOtherThanPostHasNoContentTypeLine", "", 3, "", true, true,
     Lines({kUserAgent, kAccept, kEncoding, kLanguage, kCache})},
    {"UserAgentWithoutBlankDoesNotSuppressTheDefault", "User-Agent:mine", 0, "", true, true,
     Lines({"User-Agent:mine", kUserAgent, kAccept, kEncoding, kLanguage, kCache})},
    {"LowerCaseAcceptSuppressesTheDefaultAndIsRecased", "accept: */*", 0, "", true, true,
     Lines({"Accept: */*", kUserAgent, kEncoding, kLanguage, kCache})},
    {"AcceptEncodingAloneDoesNotSuppressAccept", "Accept-Encoding: gzip", 0, "", true, true,
     Lines({"Accept-Encoding: gzip", kUserAgent, kAccept, kLanguage, kCache})},
    {"LineWithoutColonIsDroppedWhenNamesAreNormalised", "garbage\r\nX-A: 1", 0, "", false, true,
     "X-A: 1"},
    {"LineWithoutColonStaysWhenNamesAreNotNormalised", "garbage\r\nX-A: 1", 0, "", false, false,
     "garbage\r\nX-A: 1\r\n"},
    {"NamePartsAreCapitalisedAndTheRestKeepsItsCase", "x-my-hEADER:1\r\ncontent-type: text/plain",
     0, "", false, true, "X-My-HEADER:1\r\nContent-Type: text/plain"},
    {"KeepAliveLineFollowedByOthersIsRemoved", "Connection: keep-alive\r\nX-A: 1", 0, "", false,
     true, "X-A: 1"},
    {"KeepAliveWrittenInCapitalsStays", "Connection: Keep-Alive\r\nX-A: 1", 0, "", false, true,
     "Connection: Keep-Alive\r\nX-A: 1"},
    {"LowerCaseKeepAliveNameIsRecasedThenRemoved", "connection: keep-alive\r\nX-A: 1", 0, "", false,
     true, "X-A: 1"},
    {"KeepAliveAsLastLineWithoutFinalCrLfStays", "X-A: 1\r\nConnection: keep-alive", 0, "", false,
     true, "X-A: 1\r\nConnection: keep-alive"},
    {"KeepAliveLineBeforeTheDefaultsIsRemoved", "Connection: keep-alive", 0, "", true, true,
     Lines({kUserAgent, kAccept, kEncoding, kLanguage, kCache})},
    {"CookiesGetACookieLineAfterTheLastLine", "", 0, "a=1", true, true,
     Lines({kUserAgent, kAccept, kEncoding, kLanguage, kCache}) + "\r\nCookie: a=1\r\n"},
    {"CookiesThatAreAWholeLineAreAddedUnchanged", "X-A: 1", 0, "cookie: a=1; b=2", false, true,
     "X-A: 1\r\ncookie: a=1; b=2\r\n"},
    {"CallersCookieLineSuppressesTheCookies", "COOKIE: z=9", 0, "a=1", false, true, "COOKIE: z=9"},
    {"WithoutNormalisingAnEmptyLineStandsBeforeTheCookieLine", "X-A: 1", 0, "a=1", false, false,
     "X-A: 1\r\n\r\nCookie: a=1\r\n"},
    {"NothingGivenGivesAnEmptyBlock", "", 1, "", false, true, ""},
    {"OnlyCookiesGiveALeadingCrLf", "", 1, "a=1", false, true, "\r\nCookie: a=1\r\n"},
    {"DefaultsAreNotAddedWhenCompletingIsOff", "X-A: 1", 1, "", false, false, "X-A: 1\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, BuildRequestHeadersTable, testing::ValuesIn(kBlockCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct TextCase {
  const char* name;
  std::string input;
  std::string expected;
};

class NormaliseHeaderNamesTable : public testing::TestWithParam<TextCase> {};

TEST_P(NormaliseHeaderNamesTable, RecasesNamesOnly) {
  EXPECT_EQ(NormaliseHeaderNames(GetParam().input), GetParam().expected);
}

const TextCase kNormaliseCases[] = {
    {"EmptyBlockStaysEmpty", "", ""},
    {"FinalCrLfIsRemoved", "a: 1\r\n", "A: 1"},
    {"EmptyLinesAreDropped", "a: 1\r\n\r\nb: 2\r\n", "A: 1\r\nB: 2"},
    {"OnlyTheNameBeforeTheFirstColonIsRecased", "x-a: b-c: d", "X-A: b-c: d"},
    {"ValueLettersAfterDashesStay", "x: a-b", "X: a-b"},
    {"DashAtTheEndOfTheNameStays", "x-: 1", "X-: 1"},
    {"DoubleDashCapitalisesTheLetterAfterIt", "x--y: 1", "X--Y: 1"},
    {"LineStartingWithColonIsKept", ":a", ":a"},
    {"LeadingBlankIsNotALetter", " a: 1", " a: 1"},
    // 中-a: a double-byte character is stepped over whole and never re-cased.
    {"DoubleByteCharactersAreSteppedOver", "\xD6\xD0-a: 1", "\xD6\xD0-A: 1"},
    // A GBK character whose second byte is "a" (0x61) does not start a part.
    {"SecondByteOfACharacterIsNeverRecased", "\x81\x61x: 1", "\x81\x61x: 1"},
};

INSTANTIATE_TEST_SUITE_P(Cases, NormaliseHeaderNamesTable, testing::ValuesIn(kNormaliseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CapitaliseFirst, UpperCasesOnlyAnAsciiFirstLetter) {
  EXPECT_EQ(CapitaliseFirst(""), "");
  EXPECT_EQ(CapitaliseFirst("abc"), "Abc");
  EXPECT_EQ(CapitaliseFirst("aBC"), "ABC");
  EXPECT_EQ(CapitaliseFirst("1a"), "1a");
  EXPECT_EQ(CapitaliseFirst("\xD6\xD0"
                            "a"),
            "\xD6\xD0"
            "a");
}

struct ValueCase {
  const char* name;
  std::string block;
  std::string header;
  std::string expected;
};

class HeaderValueTable : public testing::TestWithParam<ValueCase> {};

TEST_P(HeaderValueTable, ReadsTheFirstLineWithTheName) {
  const ValueCase& c = GetParam();
  EXPECT_EQ(HeaderValue(c.block, c.header), c.expected);
}

const ValueCase kValueCases[] = {
    {"PlainValue", "A: 1\r\nConnection: close\r\n", "Connection", "close"},
    {"MissingNameGivesEmpty", "A: 1", "Connection", ""},
    {"NameIsMatchedExactly", "connection: close", "Connection", ""},
    {"FirstLineBeginningWithTheNameDecides", "Connection-X: 1\r\nConnection: close", "Connection",
     ""},
    {"ValueIsWhatFollowsTheLastNameAndBlank", "Connection: a Connection: b", "Connection", "b"},
    {"NameWithoutColonBlankGivesEmpty", "Connection:close", "Connection", ""},
    {"EmptyValue", "Connection: ", "Connection", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, HeaderValueTable, testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumenta
