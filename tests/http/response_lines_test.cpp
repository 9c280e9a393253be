// The status text, cookies and redirect target read out of a raw response header block.
#include "http/response_lines.h"

#include <gtest/gtest.h>

#include "base/pending_events.h"

namespace lumenta {
namespace {

TEST(StatusFromResponseHeaders, IsTheStatusLineFromItsTenthCharacter) {
  EXPECT_EQ(StatusFromResponseHeaders("HTTP/1.1 200 OK\r\nA: 1\r\n\r\n"), "200 OK");
  EXPECT_EQ(StatusFromResponseHeaders("HTTP/1.1 404 Not Found\r\n\r\n"), "404 Not Found");
  EXPECT_EQ(StatusFromResponseHeaders("HTTP/1.0 302 Moved Temporarily\r\n"),
            "302 Moved Temporarily");
  EXPECT_EQ(StatusFromResponseHeaders("HTTP/1.1 200\r\n"), "200");
}

TEST(StatusFromResponseHeaders, IsEmptyWithoutALineEnd) {
  EXPECT_EQ(StatusFromResponseHeaders("HTTP/1.1 200 OK"), "");
  EXPECT_EQ(StatusFromResponseHeaders("HTTP/1.1 "), "");
  EXPECT_EQ(StatusFromResponseHeaders(""), "");
  EXPECT_EQ(StatusFromResponseHeaders("HTTP/1.1 \r\n"), "");
}

int g_pumps = 0;

TEST(ReadResponseLines, CollectsCookiesAndTheLastLocationAndPumpsAfterEveryLine) {
  g_pumps = 0;
  const PendingEventsPump previous = SetPendingEventsPump([] { ++g_pumps; });
  Text cookies = "held=1; ";
  Text location = "untouched";
  ReadResponseLines(
      "HTTP/1.1 302 Found\r\nSet-Cookie: a=1; path=/\r\nlocation: /one\r\n"
      "Set-Cookie: b=2\r\nLOCATION: /two \r\nX-Location: /no\r\n\r\n",
      cookies, location);
  SetPendingEventsPump(previous);
  EXPECT_EQ(cookies, "held=1; a=1; b=2");
  EXPECT_EQ(location, "/two ");
  EXPECT_EQ(g_pumps, 7);  // six lines and the empty one before the end
}

TEST(ReadResponseLines, LeavesTheLocationAloneWhenThereIsNone) {
  Text cookies;
  Text location = "untouched";
  ReadResponseLines("HTTP/1.1 200 OK\r\nLocation:/no-blank\r\n\r\n", cookies, location);
  EXPECT_EQ(location, "untouched");
  EXPECT_EQ(cookies, "");
}

struct LengthCase {
  const char* name;
  const char* headers;
  size_t bodySize;
  bool headRequest;
  bool fallsShort;
};

class BodyFallsShortOfItsLengthTable : public ::testing::TestWithParam<LengthCase> {};

TEST_P(BodyFallsShortOfItsLengthTable, ComparesTheBodyWithTheAnnouncedLength) {
  const LengthCase& c = GetParam();
  EXPECT_EQ(BodyFallsShortOfItsLength(c.headers, c.bodySize, c.headRequest), c.fallsShort);
}

const LengthCase kLengthCases[] = {
    {"WholeBody", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n", 10, false, false},
    {"ShortBody", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n", 9, false, true},
    {"NameInAnyCase", "HTTP/1.1 200 OK\r\ncontent-length:10\r\n\r\n", 0, false, true},
    {"ErrorPagesToo", "HTTP/1.1 404 Not Found\r\nContent-Length: 5\r\n\r\n", 2, false, true},
    {"NoLengthNoClaim", "HTTP/1.1 200 OK\r\n\r\n", 0, false, false},
    {"HeadRequestHasNoBody", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n", 0, true, false},
    {"NoContentHasNoBody", "HTTP/1.1 204 No Content\r\nContent-Length: 10\r\n\r\n", 0, false,
     false},
    {"NotModifiedHasNoBody", "HTTP/1.1 304 Not Modified\r\nContent-Length: 10\r\n\r\n", 0, false,
     false},
    {"InformationalHasNoBody", "HTTP/1.1 101 Switching\r\nContent-Length: 10\r\n\r\n", 0, false,
     false},
    {"ChunkedAnnouncesNothing",
     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: 10\r\n\r\n", 0, false,
     false},
    {"UnreadableLengthAnnouncesNothing", "HTTP/1.1 200 OK\r\nContent-Length: 1x\r\n\r\n", 0, false,
     false},
    {"HugeLengthAnnouncesNothing",
     "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\n", 0, false, false},
    {"FirstLengthCounts", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\nContent-Length: 9\r\n\r\n", 3,
     false, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, BodyFallsShortOfItsLengthTable, ::testing::ValuesIn(kLengthCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumenta
