// WebRequest under Wine, with the real WinHttp, against the loopback servers ctest starts
// (tests/http/loopback_servers.py): every request is checked as the server received it, byte
// for byte.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "base/pending_events.h"
#include "base/text_encoders.h"
#include "http/response_decoding.h"
#include "http/web_request.h"
#include "http/winhttp_api_win.h"
#include "tests/http/process_handles_win.h"
#include "tests/http/test_servers_win.h"

namespace lumenta {
namespace {

using testing_support::AnswerScript;
using testing_support::IsGeneratedBody;
using testing_support::LoopbackServers;
using testing_support::ProcessHandleCount;
using testing_support::RecordedRequest;

// The messages, from their UTF-8 spelling (the program keeps them as GBK bytes).
const Text kBadUrl = Utf8ToAnsi("701 解析URL地址失败!");
const Text kNoSession = Utf8ToAnsi("702 创建WinHttp会话失败!");
const Text kReadFailed = Utf8ToAnsi("713 读取数据失败!");

const std::string kUserAgent =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n";
const std::string kDefaultLines = kUserAgent +
                                  "Accept: text/html, application/xhtml+xml, */*\r\n"
                                  "Accept-Encoding: identity\r\n"
                                  "Accept-Language: zh-cn\r\n";
const std::string kCacheLine = "Cache-Control: no-cache\r\n";

int g_pumps = 0;
void CountPump() { ++g_pumps; }

// The caller's variables, filled with a marker so that a test sees which ones were written.
struct Outputs {
  Text sendCookies;
  Text receivedCookies = "untouched";
  Text responseHeaders = "untouched";
  Text redirectLocation = "untouched";
  Text statusText = "untouched";
  ByteBuffer responseBytes{"untouched"};
  Text result;
  int pumps = 0;
};

Outputs Call(WebRequestParameters p, Outputs o = {}) {
  p.sendCookies = &o.sendCookies;
  p.receivedCookies = &o.receivedCookies;
  p.responseHeaders = &o.responseHeaders;
  p.redirectLocation = &o.redirectLocation;
  p.statusText = &o.statusText;
  p.responseBytes = &o.responseBytes;
  const int before = g_pumps;
  o.result = WebRequest(p);
  o.pumps = g_pumps - before;
  return o;
}

// The header block as the server received it, less the lines WinHttp adds by itself.
std::string OwnLines(const RecordedRequest& request) {
  std::string out;
  size_t at = 0;
  while (at < request.headers.size()) {
    const size_t end = request.headers.find("\r\n", at);
    const std::string line = request.headers.substr(at, end + 2 - at);
    at = end + 2;
    const std::string name = line.substr(0, line.find(':'));
    if (name == "Host" || name == "Content-Length" || name == "Connection") continue;
    out += line;
  }
  return out;
}

class WebRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(servers().ready()) << "the loopback servers are not running (run through ctest)";
    servers().Reset();
    previousPump_ = SetPendingEventsPump(&CountPump);
  }
  void TearDown() override { SetPendingEventsPump(previousPump_); }

  static LoopbackServers& servers() { return LoopbackServers::Get(); }
  static std::string Url(std::string_view path) { return servers().Url("http", path); }

  // The only request the servers received.
  static RecordedRequest OnlyRequest() {
    const auto requests = servers().Requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? RecordedRequest{} : requests.front();
  }

 private:
  PendingEventsPump previousPump_ = nullptr;
};

// --- What is sent ------------------------------------------------------------------------------

struct VerbCase {
  int method;
  const char* verb;
};

class WebRequestVerbs : public WebRequestTest, public ::testing::WithParamInterface<VerbCase> {};

TEST_P(WebRequestVerbs, SendsTheVerbOfTheMethodNumber) {
  const std::string url = Url("/verb");
  const Outputs o = Call({.url = url, .method = GetParam().method});
  EXPECT_EQ(OnlyRequest().line, std::string(GetParam().verb) + " /verb HTTP/1.1");
  EXPECT_EQ(o.statusText, "200 OK");
}

INSTANTIATE_TEST_SUITE_P(Methods, WebRequestVerbs,
                         ::testing::Values(VerbCase{0, "GET"}, VerbCase{1, "POST"},
                                           VerbCase{2, "HEAD"}, VerbCase{3, "PUT"},
                                           VerbCase{4, "OPTIONS"}, VerbCase{5, "DELETE"},
                                           VerbCase{6, "TRACE"}, VerbCase{8, "GET"},
                                           VerbCase{-1, "GET"}));

TEST_F(WebRequestTest, OmittedMethodSendsGet) {
  const std::string url = Url("/x");
  (void)Call({.url = url});
  EXPECT_EQ(OnlyRequest().line, "GET /x HTTP/1.1");
}

TEST_F(WebRequestTest, ConnectIsSentAsTheVerbOfMethodSeven) {
  const std::string url = Url("/tunnel");
  (void)Call({.url = url, .method = 7});
  EXPECT_EQ(OnlyRequest().line.substr(0, 8), "CONNECT ");
}

struct ObjectCase {
  const char* urlTail;
  const char* requestLine;
};

class WebRequestObjects : public WebRequestTest,
                          public ::testing::WithParamInterface<ObjectCase> {};

TEST_P(WebRequestObjects, RequestsTheObjectOfTheUrl) {
  const std::string url = Url(GetParam().urlTail);
  (void)Call({.url = url});
  EXPECT_EQ(OnlyRequest().line, GetParam().requestLine);
}

INSTANTIATE_TEST_SUITE_P(
    Urls, WebRequestObjects,
    ::testing::Values(ObjectCase{"", "GET / HTTP/1.1"},
                      ObjectCase{"/rest/2.0/ocr?access_token=a.b-c&x=%41",
                                 "GET /rest/2.0/ocr?access_token=a.b-c&x=%41 HTTP/1.1"},
                      ObjectCase{"/a/b/", "GET /a/b/ HTTP/1.1"}));

TEST_F(WebRequestTest, TokenRequestSendsTheDefaultHeaderBlockAndNoBody) {
  const std::string url = Url("/oauth/2.0/token?grant_type=client_credentials");
  (void)Call({.url = url, .method = 1});
  const RecordedRequest request = OnlyRequest();
  EXPECT_EQ(request.line, "POST /oauth/2.0/token?grant_type=client_credentials HTTP/1.1");
  EXPECT_EQ(OwnLines(request),
            kDefaultLines + "Content-Type: application/x-www-form-urlencoded\r\n" + kCacheLine);
  EXPECT_EQ(request.body, "");
}

std::u16string g_headerBlock;

BOOL WINAPI RecordHeaderBlock(HINTERNET request, LPCWSTR headers, DWORD length, DWORD modifiers) {
  g_headerBlock.assign(reinterpret_cast<const char16_t*>(headers), length);
  return WinHttpAddRequestHeaders(request, headers, length, modifiers);
}

TEST_F(WebRequestTest, RecognitionRequestHandsItsContentTypeLineFirstToWinHttp) {
  WinHttpApi api;
  api.addRequestHeaders = &RecordHeaderBlock;
  ScopedWinHttpApi scoped(api);
  const std::string url = Url("/rest/2.0/ocr/v1/general_basic?access_token=t");
  const std::string form = "image=" + UrlEncode(Base64Encode("\x89PNG\r\n\x1a\n"), true, true);
  (void)Call({.url = url,
              .method = 1,
              .bodyText = form,
              .extraHeaders = "Content-Type:application/x-www-form-urlencoded"});
  // The block as built, without a final line end ...
  EXPECT_EQ(Utf16ToGbk(g_headerBlock), "Content-Type:application/x-www-form-urlencoded\r\n" +
                                           kDefaultLines +
                                           kCacheLine.substr(0, kCacheLine.size() - 2));
  // ... and on the wire, where WinHttp writes every line as "Name: value".
  const RecordedRequest request = OnlyRequest();
  EXPECT_EQ(OwnLines(request),
            "Content-Type: application/x-www-form-urlencoded\r\n" + kDefaultLines + kCacheLine);
  EXPECT_EQ(request.body, form);
}

TEST_F(WebRequestTest, BodyBytesAreSentInsteadOfBodyTextZerosIncluded) {
  const std::string url = Url("/upload");
  const std::string bytes("a\0b\xff", 4);
  (void)Call({.url = url, .method = 3, .bodyText = "ignored", .bodyBytes = bytes});
  EXPECT_EQ(OnlyRequest().body, bytes);
}

// A body of `size` varied bytes, handed out in pieces of at most `most` bytes; `cut` ends it
// early after that many bytes.
struct PieceSource {
  std::string bytes;
  size_t most = 0;
  size_t cut = std::string::npos;
  size_t at = 0;

  BodyPieces Pieces() {
    return {.length = bytes.size(), .next = [this](char* buffer, size_t room) {
              const size_t n = std::min({room, most, std::min(cut, bytes.size()) - at});
              bytes.copy(buffer, n, at);
              at += n;
              return n;
            }};
  }
};

std::string Varied(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7919) >> 3);
  return bytes;
}

// Larger than WebRequest's piece buffer, in pieces smaller and larger than the server's reads.
TEST_F(WebRequestTest, ABodyInPiecesGoesOnTheWireAsTheSameBodyWhole) {
  const std::string url = Url("/upload");
  PieceSource source{.bytes = Varied(700'001), .most = 100'003};
  const BodyPieces pieces = source.Pieces();
  const HttpResponse inPieces = SendHttpRequest(
      {.url = url, .verb = HttpVerb::kPost, .bodyPieces = &pieces, .extraHeaders = "X-A: 1"});
  const HttpResponse whole = SendHttpRequest(
      {.url = url, .verb = HttpVerb::kPost, .body = source.bytes, .extraHeaders = "X-A: 1"});
  EXPECT_EQ(inPieces.status, Text("200 OK"));
  EXPECT_EQ(whole.status, Text("200 OK"));
  const auto requests = servers().Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].line, requests[1].line);
  EXPECT_EQ(requests[0].headers, requests[1].headers);
  EXPECT_EQ(requests[0].body.size(), source.bytes.size());
  EXPECT_TRUE(requests[0].body == source.bytes);  // not printed: 700 KB
}

TEST_F(WebRequestTest, PiecesThatEndBeforeTheirLengthFailTheSending) {
  const std::string url = Url("/upload");
  PieceSource source{.bytes = Varied(300'000), .most = 50'000, .cut = 120'000};
  const BodyPieces pieces = source.Pieces();
  const HttpResponse response =
      SendHttpRequest({.url = url, .verb = HttpVerb::kPost, .bodyPieces = &pieces});
  EXPECT_EQ(response.status, Utf8ToAnsi("711 发送请求失败!"));
  EXPECT_EQ(response.text, "");
  // The body stops where the pieces did; the server never sees a whole request.
  for (const RecordedRequest& request : servers().Requests()) {
    EXPECT_LT(request.body.size(), source.bytes.size());
  }
}

TEST_F(WebRequestTest, BodyTextEndsAtAZeroByte) {
  const std::string url = Url("/upload");
  (void)Call({.url = url, .method = 1, .bodyText = std::string_view("ab\0cd", 5)});
  EXPECT_EQ(OnlyRequest().body, "ab");
}

TEST_F(WebRequestTest, CallersHeaderLinesAreRecasedAndKeepAliveIsDropped) {
  const std::string url = Url("/h");
  (void)Call({.url = url,
              .extraHeaders = "x-trace-id: 7\r\nconnection: keep-alive\r\nnot a header",
              .completeHeaders = false});
  EXPECT_EQ(OwnLines(OnlyRequest()), "X-Trace-Id: 7\r\n");
}

// --- Credentials ------------------------------------------------------------------------------

struct CredentialCase {
  const char* user;
  const char* password;
  bool sent;
};

class WebRequestServerCredentials : public WebRequestTest,
                                    public ::testing::WithParamInterface<CredentialCase> {};

TEST_P(WebRequestServerCredentials, AreSetOnlyWhenBothPartsAreGiven) {
  const std::string url = Url("/private");
  const Outputs o =
      Call({.url = url, .serverUser = GetParam().user, .serverPassword = GetParam().password});
  EXPECT_EQ(o.statusText, "200 OK");
  bool authorised = false;
  for (const RecordedRequest& request : servers().Requests()) {
    authorised |= request.headers.find(
                      "Authorization: Basic " +
                      Base64Encode(std::string(GetParam().user) + ":" + GetParam().password) +
                      "\r\n") != std::string::npos;
    if (!GetParam().sent) {
      EXPECT_EQ(request.headers.find("Authorization:"), std::string::npos);
    }
  }
  EXPECT_EQ(authorised, GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(Pairs, WebRequestServerCredentials,
                         ::testing::Values(CredentialCase{"ak", "sk", true},
                                           CredentialCase{"ak", "", false},
                                           CredentialCase{"", "sk", false},
                                           CredentialCase{"", "", false}));

// --- Cookies ----------------------------------------------------------------------------------

TEST_F(WebRequestTest, SendsTheCookiesInACookieLine) {
  const std::string url = Url("/c");
  Outputs o;
  o.sendCookies = "BAIDUID=1; lang=zh";
  (void)Call({.url = url}, o);
  EXPECT_NE(OnlyRequest().headers.find("\r\nCookie: BAIDUID=1; lang=zh\r\n"), std::string::npos);
}

TEST_F(WebRequestTest, ReceivedCookiesFollowWhatTheVariableHeld) {
  servers().Answer(AnswerScript()
                       .Header("Set-Cookie: a=1; path=/; HttpOnly")
                       .Header("set-cookie: lower=1")
                       .Header("Set-Cookie: b=2"));
  const std::string url = Url("/c");
  Outputs o;
  o.receivedCookies = "old=0; ";
  o = Call({.url = url}, o);
  EXPECT_EQ(o.receivedCookies, "old=0; a=1; b=2");
  EXPECT_EQ(o.sendCookies, "");
}

TEST_F(WebRequestTest, SentCookiesAreMergedWithTheReceivedOnes) {
  servers().Answer(AnswerScript().Header("Set-Cookie: b=3").Header("Set-Cookie: c=deleted"));
  const std::string url = Url("/c");
  Outputs o;
  o.sendCookies = "a=1; b=2; c=9";
  o.receivedCookies = "";
  o = Call({.url = url}, o);
  EXPECT_EQ(o.receivedCookies, "b=3; a=1");
  EXPECT_EQ(o.sendCookies, "b=3; a=1");
}

TEST_F(WebRequestTest, WithoutMergingTheReceivedCookiesAreTheResponsesOnly) {
  servers().Answer(AnswerScript().Header("Set-Cookie: b=3"));
  const std::string url = Url("/c");
  Outputs o;
  o.sendCookies = "a=1";
  o.receivedCookies = "";
  o = Call({.url = url, .mergeCookies = false}, o);
  EXPECT_EQ(o.receivedCookies, "b=3");
  EXPECT_EQ(o.sendCookies, "a=1");
}

TEST_F(WebRequestTest, WinHttpKeepsNoCookiesOfItsOwnAcrossARedirect) {
  servers().Answer(AnswerScript()
                       .Status("HTTP/1.1 302 Found")
                       .Header("Location: /second")
                       .Header("Set-Cookie: kept=1; path=/"));
  const std::string url = Url("/first");
  (void)Call({.url = url});
  const auto requests = servers().Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].line, "GET /second HTTP/1.1");
  EXPECT_EQ(requests[1].headers.find("Cookie:"), std::string::npos);
}

// --- Redirects --------------------------------------------------------------------------------

TEST_F(WebRequestTest, FollowsRedirectsAndReportsTheFinalResponse) {
  servers().Answer(AnswerScript().Status("HTTP/1.1 302 Found").Header("Location: /final"));
  servers().Answer(AnswerScript().Body("final page"));
  const std::string url = Url("/start");
  const Outputs o = Call({.url = url});
  EXPECT_EQ(o.result, "final page");
  EXPECT_EQ(o.statusText, "200 OK");
  EXPECT_EQ(o.redirectLocation, "untouched");
  const auto requests = servers().Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].line, "GET /final HTTP/1.1");
}

TEST_F(WebRequestTest, FinalResponseWithALocationLineFillsRedirectLocation) {
  servers().Answer(AnswerScript().Status("HTTP/1.1 201 Created").Header("Location: /item/7"));
  const std::string url = Url("/items");
  const Outputs o = Call({.url = url, .method = 1});
  EXPECT_EQ(o.statusText, "201 Created");
  EXPECT_EQ(o.redirectLocation, "/item/7");
}

struct NoRedirectCase {
  const char* name;
  std::vector<std::string> headers;
  const char* location;
};

class WebRequestNoRedirect : public WebRequestTest,
                             public ::testing::WithParamInterface<NoRedirectCase> {};

TEST_P(WebRequestNoRedirect, ReportsTheTargetThroughRedirectLocation) {
  AnswerScript answer;
  answer.Status("HTTP/1.1 302 Found");
  for (const auto& line : GetParam().headers) answer.Header(line);
  servers().Answer(answer);
  const std::string url = Url("/start");
  const Outputs o = Call({.url = url, .noRedirect = true});
  EXPECT_EQ(o.statusText, "302 Found");
  EXPECT_EQ(o.redirectLocation, GetParam().location);
  EXPECT_EQ(servers().Requests().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WebRequestNoRedirect,
    ::testing::Values(
        NoRedirectCase{"Plain", {"Location: http://elsewhere/x?y=1"}, "http://elsewhere/x?y=1"},
        NoRedirectCase{"LowerCaseName", {"location: /lower"}, "/lower"},
        NoRedirectCase{"LastLineWins", {"Location: /one", "LOCATION: /two"}, "/two"},
        NoRedirectCase{"ValueKeptUnchanged", {"Location:  /two-blanks "}, " /two-blanks "}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Responses --------------------------------------------------------------------------------

TEST_F(WebRequestTest, NotFoundCompletesNormallyWithTheErrorPage) {
  servers().Answer(AnswerScript().Status("HTTP/1.1 404 Not Found").Body("no such page"));
  const std::string url = Url("/missing");
  const Outputs o = Call({.url = url});
  EXPECT_EQ(o.statusText, "404 Not Found");
  EXPECT_EQ(o.result, "no such page");
  EXPECT_EQ(o.responseBytes, "no such page");
}

TEST_F(WebRequestTest, EmptyBodyStillFillsHeadersStatusAndCookies) {
  servers().Answer(AnswerScript().Status("HTTP/1.1 200 OK").Header("Set-Cookie: s=1").Body(""));
  const std::string url = Url("/empty");
  const Outputs o = Call({.url = url});
  EXPECT_EQ(o.result, "");
  EXPECT_EQ(o.responseBytes, "");
  EXPECT_EQ(o.statusText, "200 OK");
  EXPECT_EQ(o.receivedCookies, "untoucheds=1");
  EXPECT_EQ(o.responseHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
}

TEST_F(WebRequestTest, ResponseHeadersAreTheRawBlockOfTheResponse) {
  servers().Answer(AnswerScript().Header("X-Answer: 42").Body("abc"));
  const std::string url = Url("/h");
  const Outputs o = Call({.url = url});
  EXPECT_EQ(o.responseHeaders, "HTTP/1.1 200 OK\r\nX-Answer: 42\r\nContent-Length: 3\r\n\r\n");
}

TEST_F(WebRequestTest, BodyKeepsItsZeroBytesWhileTheResultEndsAtTheFirst) {
  servers().Answer(AnswerScript().Body(std::string("ab\0cd", 5)));
  const std::string url = Url("/zero");
  const Outputs o = Call({.url = url});
  EXPECT_EQ(o.responseBytes, std::string("ab\0cd", 5));
  EXPECT_EQ(o.result, "ab");
}

struct BodyShapeCase {
  const char* name;
  std::function<AnswerScript()> answer;
  size_t size;
};

class WebRequestBodyShapes : public WebRequestTest,
                             public ::testing::WithParamInterface<BodyShapeCase> {};

TEST_P(WebRequestBodyShapes, ArriveWhole) {
  servers().Answer(GetParam().answer());
  const std::string url = Url("/body");
  const Outputs o = Call({.url = url});
  EXPECT_EQ(o.statusText, "200 OK");
  EXPECT_EQ(o.responseBytes.size(), GetParam().size);
  EXPECT_TRUE(IsGeneratedBody(o.responseBytes.view()));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, WebRequestBodyShapes,
    ::testing::Values(
        BodyShapeCase{"WithLength", [] { return AnswerScript().GeneratedBody(3 << 20); }, 3 << 20},
        BodyShapeCase{"Chunked", [] { return AnswerScript().GeneratedBody(1 << 20).Chunked(1000); },
                      1 << 20},
        BodyShapeCase{"EndedByClosing",
                      [] { return AnswerScript().GeneratedBody(100000).NoLength(); }, 100000}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Failures on the wire ---------------------------------------------------------------------
// What the server and the connection can do wrong (refusal, resets, silence, garbage, bodies cut
// short or too large, bad certificates) is the table of
// tests/reliability/fault_matrix_test_win.cpp.

TEST_F(WebRequestTest, EmptyUrlFailsToParse) {
  const Outputs o = Call({.url = ""});
  EXPECT_EQ(o.statusText, kBadUrl);
  EXPECT_EQ(o.result, "");
  EXPECT_EQ(o.responseHeaders, "untouched");
  EXPECT_EQ(o.pumps, 1);
}

TEST_F(WebRequestTest, UrlOfAnotherSchemeFailsToParse) {
  EXPECT_EQ(Call({.url = "ftp://localhost/x"}).statusText, kBadUrl);
  EXPECT_EQ(Call({.url = "localhost/x"}).statusText, kBadUrl);
}

// --- Time-outs --------------------------------------------------------------------------------

std::vector<int> g_timeouts;

BOOL WINAPI RecordTimeouts(HINTERNET handle, int resolve, int connect, int send, int receive) {
  g_timeouts = {resolve, connect, send, receive};
  return WinHttpSetTimeouts(handle, resolve, connect, send, receive);
}

struct TimeoutCase {
  const char* name;
  std::function<WebRequestParameters(const std::string&)> parameters;
  int milliseconds;
};

class WebRequestTimeouts : public WebRequestTest,
                           public ::testing::WithParamInterface<TimeoutCase> {};

TEST_P(WebRequestTimeouts, PassOneValueForAllFour) {
  WinHttpApi api;
  api.setTimeouts = &RecordTimeouts;
  ScopedWinHttpApi scoped(api);
  g_timeouts.clear();
  const std::string url = Url("/t");
  EXPECT_EQ(Call(GetParam().parameters(url)).statusText, "200 OK");
  const int ms = GetParam().milliseconds;
  EXPECT_EQ(g_timeouts, (std::vector<int>{ms, ms, ms, ms}));
}

INSTANTIATE_TEST_SUITE_P(
    Seconds, WebRequestTimeouts,
    ::testing::Values(
        TimeoutCase{"Omitted", [](const std::string& u) { return WebRequestParameters{.url = u}; },
                    30000},
        TimeoutCase{"Zero",
                    [](const std::string& u) {
                      return WebRequestParameters{.url = u, .timeoutSeconds = 0};
                    },
                    30000},
        TimeoutCase{"Negative",
                    [](const std::string& u) {
                      return WebRequestParameters{.url = u, .timeoutSeconds = -3};
                    },
                    30000},
        TimeoutCase{"Five",
                    [](const std::string& u) {
                      return WebRequestParameters{.url = u, .timeoutSeconds = 5};
                    },
                    5000},
        TimeoutCase{"BeyondThirtyTwoBits",
                    [](const std::string& u) {
                      return WebRequestParameters{.url = u, .timeoutSeconds = 3000000};
                    },
                    2147483647}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The steps, their order and their failures ------------------------------------------------

// Wrappers around the system's WinHttp functions: they write down every call (and the options
// and handles it involved) and let chosen calls fail, so that every way out can be taken.
struct CallLog {
  std::vector<std::pair<std::string, int>> failures;  // function, which of its calls fails
  std::map<std::string, int> counts;
  std::vector<std::string> sequence;  // function names, repeats of the last one folded
  std::vector<HINTERNET> opened;      // session, connection, request
  std::vector<HINTERNET> closed;
  std::vector<std::pair<DWORD, DWORD>> options;  // option, 4-byte value
  DWORD accessType = 0;
  std::u16string proxyName;
  bool proxyNameGiven = false;
  std::u16string proxyNameForWinHttp;  // when set, handed to WinHttpOpen instead
};
CallLog g_log;

bool Called(const char* name) {
  if (g_log.sequence.empty() || g_log.sequence.back() != name) g_log.sequence.push_back(name);
  const int count = ++g_log.counts[name];
  for (const auto& [function, call] : g_log.failures) {
    if (function == name && call == count) return false;
  }
  return true;
}

HINTERNET Opened(HINTERNET handle) {
  if (handle) g_log.opened.push_back(handle);
  return handle;
}

WinHttpApi LoggingApi() {
  WinHttpApi api;
  api.checkPlatform = []() WINAPI -> BOOL {
    return Called("checkPlatform") && WinHttpCheckPlatform();
  };
  api.crackUrl = [](LPCWSTR url, DWORD length, DWORD flags, LPURL_COMPONENTS parts) WINAPI -> BOOL {
    return Called("crackUrl") && WinHttpCrackUrl(url, length, flags, parts);
  };
  api.open = [](LPCWSTR agent, DWORD access, LPCWSTR proxy, LPCWSTR bypass, DWORD flags)
                 WINAPI -> HINTERNET {
    g_log.accessType = access;
    g_log.proxyNameGiven = proxy != nullptr;
    g_log.proxyName = proxy ? reinterpret_cast<const char16_t*>(proxy) : u"";
    if (!g_log.proxyNameForWinHttp.empty()) {
      proxy = reinterpret_cast<LPCWSTR>(g_log.proxyNameForWinHttp.c_str());
    }
    if (!Called("open")) return nullptr;
    return Opened(WinHttpOpen(agent, access, proxy, bypass, flags));
  };
  api.setTimeouts = [](HINTERNET h, int a, int b, int c, int d) WINAPI -> BOOL {
    return Called("setTimeouts") && WinHttpSetTimeouts(h, a, b, c, d);
  };
  api.connect = [](HINTERNET session, LPCWSTR host, INTERNET_PORT port, DWORD reserved)
                    WINAPI -> HINTERNET {
    if (!Called("connect")) return nullptr;
    return Opened(WinHttpConnect(session, host, port, reserved));
  };
  api.openRequest = [](HINTERNET connection, LPCWSTR verb, LPCWSTR object, LPCWSTR version,
                       LPCWSTR referrer, LPCWSTR* types, DWORD flags) WINAPI -> HINTERNET {
    if (!Called("openRequest")) return nullptr;
    return Opened(WinHttpOpenRequest(connection, verb, object, version, referrer, types, flags));
  };
  api.setCredentials = [](HINTERNET request, DWORD target, DWORD scheme, LPCWSTR user,
                          LPCWSTR password, LPVOID reserved) WINAPI -> BOOL {
    return Called("setCredentials") &&
           WinHttpSetCredentials(request, target, scheme, user, password, reserved);
  };
  api.setOption = [](HINTERNET request, DWORD option, LPVOID value, DWORD length) WINAPI -> BOOL {
    g_log.options.emplace_back(option, length == 4 ? *static_cast<DWORD*>(value) : ~0u);
    return Called("setOption") && WinHttpSetOption(request, option, value, length);
  };
  api.addRequestHeaders = [](HINTERNET request, LPCWSTR headers, DWORD length, DWORD modifiers)
                              WINAPI -> BOOL {
    return Called("addRequestHeaders") &&
           WinHttpAddRequestHeaders(request, headers, length, modifiers);
  };
  api.sendRequest = [](HINTERNET request, LPCWSTR headers, DWORD headersLength, LPVOID body,
                       DWORD bodyLength, DWORD total, DWORD_PTR context) WINAPI -> BOOL {
    return Called("sendRequest") &&
           WinHttpSendRequest(request, headers, headersLength, body, bodyLength, total, context);
  };
  api.writeData = [](HINTERNET request, LPCVOID data, DWORD length, LPDWORD written)
                      WINAPI -> BOOL {
    return Called("writeData") && WinHttpWriteData(request, data, length, written);
  };
  api.receiveResponse = [](HINTERNET request, LPVOID reserved) WINAPI -> BOOL {
    return Called("receiveResponse") && WinHttpReceiveResponse(request, reserved);
  };
  api.queryDataAvailable = [](HINTERNET request, LPDWORD available) WINAPI -> BOOL {
    return Called("queryDataAvailable") && WinHttpQueryDataAvailable(request, available);
  };
  api.readData = [](HINTERNET request, LPVOID buffer, DWORD size, LPDWORD read) WINAPI -> BOOL {
    return Called("readData") && WinHttpReadData(request, buffer, size, read);
  };
  api.queryHeaders = [](HINTERNET request, DWORD level, LPCWSTR name, LPVOID buffer, LPDWORD length,
                        LPDWORD index) WINAPI -> BOOL {
    return Called("queryHeaders") &&
           WinHttpQueryHeaders(request, level, name, buffer, length, index);
  };
  api.closeHandle = [](HINTERNET handle) WINAPI -> BOOL {
    g_log.closed.push_back(handle);
    Called("closeHandle");
    return WinHttpCloseHandle(handle);
  };
  return api;
}

class WebRequestSteps : public WebRequestTest {
 protected:
  void SetUp() override {
    WebRequestTest::SetUp();
    g_log = {};
  }
};

TEST_F(WebRequestSteps, CallWinHttpInTheOrderOfTheRequest) {
  ScopedWinHttpApi scoped(LoggingApi());
  servers().Answer(AnswerScript().GeneratedBody(100000));
  const std::string url = Url("/steps");
  const Outputs o =
      Call({.url = url, .noRedirect = true, .serverUser = "u", .serverPassword = "p"});
  EXPECT_EQ(o.statusText, "200 OK");
  // The reading loop, however many rounds it took, as one round and the final query.
  std::string calls;
  for (const std::string& name : g_log.sequence) calls += name + " ";
  calls = std::regex_replace(calls, std::regex("(queryDataAvailable readData )+"),
                             "queryDataAvailable readData ");
  EXPECT_EQ(calls,
            "checkPlatform crackUrl open setTimeouts connect openRequest setCredentials "
            "setOption addRequestHeaders sendRequest receiveResponse queryHeaders "
            "queryDataAvailable readData queryDataAvailable queryHeaders closeHandle ");
  // Request, connection and session, closed in the reverse order of their opening.
  ASSERT_EQ(g_log.opened.size(), 3u);
  EXPECT_EQ(g_log.closed,
            (std::vector<HINTERNET>{g_log.opened[2], g_log.opened[1], g_log.opened[0]}));
}

struct OptionCase {
  const char* name;
  const char* sendCookies;
  bool noRedirect;
  std::vector<std::pair<DWORD, DWORD>> options;
};

class WebRequestOptions : public WebRequestSteps,
                          public ::testing::WithParamInterface<OptionCase> {};

// No option ever asks WinHttp to ignore certificate errors.
TEST_P(WebRequestOptions, SetOnlyTheCookieAndRedirectFeatures) {
  ScopedWinHttpApi scoped(LoggingApi());
  const std::string url = Url("/options");
  Outputs o;
  o.sendCookies = GetParam().sendCookies;
  o = Call({.url = url, .noRedirect = GetParam().noRedirect}, o);
  EXPECT_EQ(o.statusText, "200 OK");
  EXPECT_EQ(g_log.options, GetParam().options);
}

INSTANTIATE_TEST_SUITE_P(
    Features, WebRequestOptions,
    ::testing::Values(
        OptionCase{"NoCookiesDisablesWinHttpsOwn",
                   "",
                   false,
                   {{WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_COOKIES}}},
        OptionCase{"CookiesEnableFeatureOne", "a=1", false, {{WINHTTP_OPTION_ENABLE_FEATURE, 1}}},
        OptionCase{"NoRedirectDisablesRedirects",
                   "",
                   true,
                   {{WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_COOKIES},
                    {WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_REDIRECTS}}}),
    [](const auto& info) { return std::string(info.param.name); });

enum class Kind { A, B, C };

struct FailureCase {
  const char* name;
  std::vector<std::pair<std::string, int>> failures;
  const char* message;  // UTF-8; empty: the status text is not written
  Kind kind;
  size_t handlesOpened;
};

class WebRequestFailures : public WebRequestSteps,
                           public ::testing::WithParamInterface<FailureCase> {};

TEST_P(WebRequestFailures, EndTheRequestTheirWay) {
  ScopedWinHttpApi scoped(LoggingApi());
  g_log.failures = GetParam().failures;
  servers().Answer(
      AnswerScript().Header("Set-Cookie: n=1").Header("Location: /x").GeneratedBody(100000));
  const std::string url = Url("/fail");
  Outputs o;
  o.sendCookies = "keep=1";
  o = Call({.url = url,
            .serverUser = "u",
            .serverPassword = "p",
            .proxyUser = "pu",
            .proxyPassword = "pp"},
           o);
  const FailureCase& c = GetParam();
  EXPECT_EQ(o.statusText, *c.message ? Utf8ToAnsi(c.message) : Text("untouched"));
  EXPECT_EQ(o.result, "");
  // No other output is written.
  EXPECT_EQ(o.sendCookies, "keep=1");
  EXPECT_EQ(o.receivedCookies, "untouched");
  EXPECT_EQ(o.responseHeaders, "untouched");
  EXPECT_EQ(o.redirectLocation, "untouched");
  EXPECT_EQ(o.responseBytes, "untouched");
  // A and C let the window's events run once; B closes at once.
  EXPECT_EQ(o.pumps, c.kind == Kind::B ? 0 : 1);
  ASSERT_EQ(g_log.opened.size(), c.handlesOpened);
  EXPECT_EQ(g_log.closed, std::vector<HINTERNET>(g_log.opened.rbegin(), g_log.opened.rend()));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, WebRequestFailures,
    ::testing::Values(
        FailureCase{
            "PlatformCheck", {{"checkPlatform", 1}}, "700 当前系统不支持WinHttp服务!", Kind::A, 0},
        FailureCase{"UrlParsing", {{"crackUrl", 1}}, "701 解析URL地址失败!", Kind::A, 0},
        FailureCase{"Session", {{"open", 1}}, "702 创建WinHttp会话失败!", Kind::A, 0},
        FailureCase{"Timeouts", {{"setTimeouts", 1}}, "705 设置超时时间失败!", Kind::A, 1},
        FailureCase{"Connection", {{"connect", 1}}, "703 创建WinHttp连接失败!", Kind::A, 1},
        FailureCase{"Request", {{"openRequest", 1}}, "704 创建WinHttp请求失败!", Kind::A, 2},
        FailureCase{
            "ServerCredentials", {{"setCredentials", 1}}, "707 设置代理凭证失败!", Kind::B, 3},
        FailureCase{
            "ProxyCredentials", {{"setCredentials", 2}}, "707 设置代理凭证失败!", Kind::B, 3},
        FailureCase{"CookieOption", {{"setOption", 1}}, "708 禁止自动设置Cookies失败!", Kind::B, 3},
        FailureCase{"HeaderBlock", {{"addRequestHeaders", 1}}, "710 设置协议头失败!", Kind::A, 3},
        FailureCase{"Sending", {{"sendRequest", 1}}, "711 发送请求失败!", Kind::A, 3},
        FailureCase{"Receiving", {{"receiveResponse", 1}}, "712 服务器未响应!", Kind::A, 3},
        // The header queries: the body's length, then the header block's size and the block.
        FailureCase{"HeaderBlockQuery", {{"queryHeaders", 3}}, "", Kind::C, 3},
        FailureCase{"ReadThenHeaderBlockQuery",
                    {{"readData", 2}, {"queryHeaders", 3}},
                    "713 读取数据失败!",
                    Kind::C,
                    3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WebRequestSteps, AWriteOfABodyInPiecesThatFailsEndsTheSending) {
  ScopedWinHttpApi scoped(LoggingApi());
  g_log.failures = {{"writeData", 2}};
  PieceSource source{.bytes = Varied(600'000), .most = 600'000};
  const BodyPieces pieces = source.Pieces();
  const HttpResponse response =
      SendHttpRequest({.url = Url("/fail"), .verb = HttpVerb::kPost, .bodyPieces = &pieces});
  EXPECT_EQ(response.status, Utf8ToAnsi("711 发送请求失败!"));
  EXPECT_EQ(g_log.counts["writeData"], 2);
  EXPECT_EQ(g_log.counts["receiveResponse"], 0);
  ASSERT_EQ(g_log.opened.size(), 3u);
  EXPECT_EQ(g_log.closed, std::vector<HINTERNET>(g_log.opened.rbegin(), g_log.opened.rend()));
}

TEST_F(WebRequestSteps, RedirectOptionThatFailsClosesAtOnce) {
  ScopedWinHttpApi scoped(LoggingApi());
  g_log.failures = {{"setOption", 2}};
  const std::string url = Url("/fail");
  const Outputs o = Call({.url = url, .noRedirect = true});
  EXPECT_EQ(o.statusText, Utf8ToAnsi("709 重定向设置失败!"));
  EXPECT_EQ(o.pumps, 0);
  EXPECT_EQ(g_log.closed.size(), 3u);
  EXPECT_TRUE(servers().Requests().empty());
}

TEST_F(WebRequestSteps, FailedReadKeepsWhatArrivedAndReportsTheReadFailure) {
  ScopedWinHttpApi scoped(LoggingApi());
  g_log.failures = {{"readData", 2}};
  servers().Answer(AnswerScript().Header("Set-Cookie: n=1").GeneratedBody(100000));
  const std::string url = Url("/read");
  const Outputs o = Call({.url = url});
  EXPECT_EQ(o.statusText, kReadFailed);
  EXPECT_EQ(o.result, "");
  EXPECT_GT(o.responseBytes.size(), 0u);
  EXPECT_LT(o.responseBytes.size(), 100000u);
  EXPECT_TRUE(IsGeneratedBody(o.responseBytes.view()));
  EXPECT_EQ(o.receivedCookies, "untouchedn=1");
  EXPECT_EQ(o.responseHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
}

// --- Proxies ----------------------------------------------------------------------------------

struct ProxyNameCase {
  const char* name;
  const char* url;
  const char* proxyAddress;
  DWORD accessType;
  const char16_t* proxyName;  // null: no name handed over
};

class WebRequestProxyNames : public WebRequestSteps,
                             public ::testing::WithParamInterface<ProxyNameCase> {};

// The session is refused right after WinHttpOpen has seen its arguments: nothing goes out.
TEST_P(WebRequestProxyNames, AreHandedToTheSession) {
  ScopedWinHttpApi scoped(LoggingApi());
  g_log.failures = {{"open", 1}};
  EXPECT_EQ(Call({.url = GetParam().url, .proxyAddress = GetParam().proxyAddress}).statusText,
            kNoSession);
  EXPECT_EQ(g_log.accessType, GetParam().accessType);
  EXPECT_EQ(g_log.proxyNameGiven, GetParam().proxyName != nullptr);
  if (GetParam().proxyName) {
    EXPECT_EQ(g_log.proxyName, GetParam().proxyName);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Urls, WebRequestProxyNames,
    ::testing::Values(ProxyNameCase{"PlainUrlNamesThePlainScheme", "http://example.invalid/",
                                    "10.0.0.1:3128", WINHTTP_ACCESS_TYPE_NAMED_PROXY,
                                    u"http=10.0.0.1:3128"},
                      ProxyNameCase{"SecureUrlUsesTheAddressItself", "https://example.invalid/",
                                    "10.0.0.1:3128", WINHTTP_ACCESS_TYPE_NAMED_PROXY,
                                    u"10.0.0.1:3128"},
                      ProxyNameCase{"NoAddressNoProxy", "https://example.invalid/", "",
                                    WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// The proxy by address: Wine's WinHttp compares the proxy's host name with the server's, ports
// aside, and goes straight to a server of the same name without asking the proxy for a tunnel.
std::string ProxyAddress() {
  return "127.0.0.1:" + std::to_string(LoopbackServers::Get().Port("proxy"));
}

// Wine keeps connections for later sessions, a tunnel through the proxy too; every answer here
// ends its connection, so each request meets the proxy afresh whatever ran before.
class WebRequestProxy : public WebRequestSteps {
 protected:
  void SetUp() override {
    WebRequestSteps::SetUp();
    servers().DefaultAnswer(AnswerScript().Header("Connection: close").Close());
  }
};

TEST_F(WebRequestProxy, SecureRequestTunnelsThroughTheProxy) {
  ScopedWinHttpApi scoped(LoggingApi());
  const std::string proxy = ProxyAddress();
  const std::string url = servers().Url("https_trusted", "/through?x=1");
  const Outputs o = Call({.url = url, .proxyAddress = proxy});
  EXPECT_EQ(o.statusText, "200 OK");
  EXPECT_EQ(o.result, "ok");
  const auto requests = servers().Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].listener, "proxy");
  EXPECT_EQ(requests[0].line,
            "CONNECT localhost:" + std::to_string(servers().Port("https_trusted")) + " HTTP/1.1");
  EXPECT_EQ(requests[1].listener, "https_trusted");
  // Wine writes the whole URL into the tunnelled request line; Windows writes the path.
  EXPECT_THAT(requests[1].line,
              ::testing::AnyOf("GET /through?x=1 HTTP/1.1", "GET " + url + " HTTP/1.1"));
}

// Wine's WinHttp does not read the per-scheme form "http=host:port" that a plain URL gets, while
// Windows does; handed the plain form it shows the rest of the way through the proxy.
TEST_F(WebRequestProxy, PlainRequestGoesThroughTheProxyInAbsoluteForm) {
  ScopedWinHttpApi scoped(LoggingApi());
  const std::string proxy = ProxyAddress();
  g_log.proxyNameForWinHttp = TextToUtf16(proxy);
  const std::string url = Url("/plain?x=1");
  const Outputs o = Call({.url = url, .proxyAddress = proxy});
  EXPECT_EQ(g_log.proxyName, TextToUtf16("http=" + proxy));
  EXPECT_EQ(o.statusText, "200 OK");
  const auto requests = servers().Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].listener, "proxy");
  EXPECT_EQ(requests[0].line, "GET " + url + " HTTP/1.1");
  EXPECT_EQ(requests[1].line, "GET /plain?x=1 HTTP/1.1");
}

class WebRequestProxyCredentials : public WebRequestProxy,
                                   public ::testing::WithParamInterface<CredentialCase> {};

// Through the plain route (see above): Wine sends no proxy credentials with a tunnel request.
TEST_P(WebRequestProxyCredentials, AreSetOnlyWhenBothPartsAreGiven) {
  ScopedWinHttpApi scoped(LoggingApi());
  const CredentialCase& c = GetParam();
  servers().DemandProxyAuthorization("Basic " + Base64Encode("pu:pp"));
  const std::string proxy = ProxyAddress();
  g_log.proxyNameForWinHttp = TextToUtf16(proxy);
  const std::string url = Url("/p");
  const Outputs o =
      Call({.url = url, .proxyAddress = proxy, .proxyUser = c.user, .proxyPassword = c.password});
  EXPECT_EQ(g_log.counts["setCredentials"], c.sent ? 1 : 0);
  EXPECT_EQ(o.statusText, c.sent ? "200 OK" : "407 Proxy Authentication Required");
}

INSTANTIATE_TEST_SUITE_P(Pairs, WebRequestProxyCredentials,
                         ::testing::Values(CredentialCase{"pu", "pp", true},
                                           CredentialCase{"pu", "", false},
                                           CredentialCase{"", "pp", false}));

// --- The body limit ---------------------------------------------------------------------------

struct LimitCase {
  const char* name;
  size_t size;
  bool whole;
};

class WebRequestBodyLimit : public WebRequestTest,
                            public ::testing::WithParamInterface<LimitCase> {};

TEST_P(WebRequestBodyLimit, AcceptsBodiesUpToTheLimitExactly) {
  constexpr size_t kLimit = 1 << 20;
  ScopedWinHttpApi scoped(WinHttpApi{}, kLimit);
  servers().Answer(AnswerScript().GeneratedBody(GetParam().size));
  const std::string url = Url("/limit");
  const Outputs o = Call({.url = url});
  if (GetParam().whole) {
    EXPECT_EQ(o.statusText, "200 OK");
    EXPECT_EQ(o.responseBytes.size(), GetParam().size);
  } else {
    EXPECT_EQ(o.statusText, kReadFailed);
    EXPECT_LE(o.responseBytes.size(), kLimit);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, WebRequestBodyLimit,
                         ::testing::Values(LimitCase{"BelowTheLimit", (1 << 20) - 1, true},
                                           LimitCase{"AtTheLimit", 1 << 20, true},
                                           LimitCase{"OneByteBeyond", (1 << 20) + 1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- The body's buffer and the announced length ------------------------------------------------
// The buffer is sized from the Content-Length WinHttp reports, and grows by doubling without
// one; what really arrives decides the body all the same. A seam in front of the length query
// makes it fail or report a wrong length, as a broken server or WinHttp could.

enum class LengthQuery { kReal, kFails, kReports };

LengthQuery g_lengthQuery = LengthQuery::kReal;
DWORD g_reportedLength = 0;

BOOL WINAPI QueryHeadersWithTheLengthSeam(HINTERNET request, DWORD level, LPCWSTR name,
                                          LPVOID buffer, LPDWORD length, LPDWORD index) {
  if ((level & 0xFFFF) == WINHTTP_QUERY_CONTENT_LENGTH && g_lengthQuery != LengthQuery::kReal) {
    if (g_lengthQuery == LengthQuery::kFails || !(level & WINHTTP_QUERY_FLAG_NUMBER) ||
        *length < sizeof(DWORD)) {
      SetLastError(ERROR_WINHTTP_HEADER_NOT_FOUND);
      return FALSE;
    }
    *static_cast<DWORD*>(buffer) = g_reportedLength;
    *length = sizeof(DWORD);
    return TRUE;
  }
  return WinHttpQueryHeaders(request, level, name, buffer, length, index);
}

// True when `bytes` are the beginning of a generated text (byte i is 'a' + i % 26).
bool IsGeneratedText(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != static_cast<char>('a' + i % 26)) return false;
  }
  return true;
}

constexpr size_t kMiB = size_t{1} << 20;

struct LengthCase {
  const char* name;
  std::function<AnswerScript()> answer;
  LengthQuery query;
  DWORD reported;  // the length the seam reports
  size_t limit;    // the body limit; 0: the program's own
  bool whole;      // "200 OK" and the text; otherwise the read failure and no text
  size_t size;     // the bytes the body keeps
};

class WebRequestAnnouncedLengths : public WebRequestTest,
                                   public ::testing::WithParamInterface<LengthCase> {
 protected:
  void TearDown() override {
    g_lengthQuery = LengthQuery::kReal;
    WebRequestTest::TearDown();
  }
};

TEST_P(WebRequestAnnouncedLengths, KeepWhatArrivedInABufferOfItsSize) {
  const LengthCase& c = GetParam();
  g_lengthQuery = c.query;
  g_reportedLength = c.reported;
  WinHttpApi api;
  api.queryHeaders = &QueryHeadersWithTheLengthSeam;
  ScopedWinHttpApi scoped(api, c.limit ? c.limit : CurrentResponseBodyLimit());
  servers().DefaultAnswer(c.answer());
  const std::string url = Url("/length");

  const Outputs o = Call({.url = url});
  EXPECT_EQ(o.statusText, c.whole ? Text("200 OK") : kReadFailed);
  EXPECT_EQ(o.responseBytes.size(), c.size);
  EXPECT_TRUE(IsGeneratedText(o.responseBytes.view()));
  EXPECT_LE(o.responseBytes.capacity(), std::max(2 * c.size, size_t{64} << 10));
  EXPECT_EQ(o.result.size(), c.whole ? c.size : 0u);

  // Without the bytes kept, the text takes the body's buffer.
  const HttpResponse response = SendHttpRequest({.url = url});
  EXPECT_EQ(response.status, c.whole ? Text("200 OK") : kReadFailed);
  EXPECT_FALSE(response.bytes.has_value());
  EXPECT_EQ(response.text, o.result);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, WebRequestAnnouncedLengths,
    ::testing::Values(
        LengthCase{"Announced", [] { return AnswerScript().GeneratedText(3 * kMiB); },
                   LengthQuery::kReal, 0, 0, true, 3 * kMiB},
        LengthCase{"AnnouncedZero", [] { return AnswerScript().Body(""); }, LengthQuery::kReal, 0,
                   0, true, 0},
        LengthCase{"NotAnnounced", [] { return AnswerScript().GeneratedText(3 * kMiB).NoLength(); },
                   LengthQuery::kReal, 0, 0, true, 3 * kMiB},
        LengthCase{"LengthQueryFails", [] { return AnswerScript().GeneratedText(3 * kMiB); },
                   LengthQuery::kFails, 0, 0, true, 3 * kMiB},
        LengthCase{"ReportedShorterThanTheBody",
                   [] { return AnswerScript().GeneratedText(3 * kMiB); }, LengthQuery::kReports,
                   1000, 0, true, 3 * kMiB},
        LengthCase{"ReportedLongerThanTheBody",
                   [] { return AnswerScript().GeneratedText(3 * kMiB); }, LengthQuery::kReports,
                   8 * kMiB, 0, true, 3 * kMiB},
        // WinHttp reads no further than the announced length (the rest must not stay on a
        // connection kept for the next request).
        LengthCase{"ServerSendsMoreThanItAnnounced",
                   [] {
                     return AnswerScript()
                         .Header("Connection: close")
                         .GeneratedText(3 * kMiB)
                         .Length(1000)
                         .Close();
                   },
                   LengthQuery::kReal, 0, 0, true, 1000},
        LengthCase{"ServerSendsLessThanItAnnounced",
                   [] { return AnswerScript().GeneratedText(kMiB).Length(2 * kMiB).Close(); },
                   LengthQuery::kReal, 0, 0, false, kMiB},
        // Beyond the limit the body is read up to the limit, then the reading fails.
        LengthCase{"AnnouncedBeyondTheLimit", [] { return AnswerScript().GeneratedText(3 * kMiB); },
                   LengthQuery::kReal, 0, kMiB, false, kMiB},
        LengthCase{"ReportedWithinTheLimitBodyBeyond",
                   [] { return AnswerScript().GeneratedText(3 * kMiB); }, LengthQuery::kReports,
                   1000, kMiB, false, kMiB}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The window's events ----------------------------------------------------------------------

TEST_F(WebRequestTest, WindowEventsRunAfterEveryHeaderLineTheDecodingAndBeforeClosing) {
  servers().Answer(AnswerScript().Header("X-A: 1").Header("X-B: 2").Body("<p>page</p>"));
  const std::string url = Url("/pump");
  const Outputs o = Call({.url = url});
  int lines = 0;
  for (size_t at = 0; (at = o.responseHeaders.find("\r\n", at)) != std::string::npos; at += 2) {
    ++lines;
  }
  const int before = g_pumps;
  (void)DecodeResponseText(o.responseBytes.view());
  const int decoding = g_pumps - before;
  EXPECT_EQ(o.pumps, lines + decoding + 1);
}

Text g_nestedResult;
std::string g_nestedUrl;

void NestedRequestPump() {
  static bool busy = false;
  if (busy || !g_nestedResult.empty()) return;
  busy = true;
  g_nestedResult = WebRequest({.url = g_nestedUrl});
  busy = false;
}

// A handler that runs during the wait may make a request of its own: each call has its own
// handles and buffers.
TEST_F(WebRequestTest, RequestMadeWhileEventsRunDoesNotDisturbTheRunningOne) {
  servers().Answer(AnswerScript().Header("Set-Cookie: outer=1").Body("outer body"));
  servers().Answer(AnswerScript().Body("inner body"));
  g_nestedResult.clear();
  g_nestedUrl = Url("/inner");
  SetPendingEventsPump(&NestedRequestPump);
  const std::string url = Url("/outer");
  Outputs o = Call({.url = url});
  SetPendingEventsPump(&CountPump);
  EXPECT_EQ(o.result, "outer body");
  EXPECT_EQ(o.statusText, "200 OK");
  EXPECT_EQ(o.receivedCookies, "untouchedouter=1");
  EXPECT_EQ(g_nestedResult, "inner body");
}

// --- Handles ----------------------------------------------------------------------------------

// Both kinds of handle: WinHttp's own (counted where they are opened and closed; Wine keeps
// them apart from the kernel's) and the kernel handles of the process (sockets, events).
TEST_F(WebRequestSteps, FiveHundredRequestsLeaveNoHandleBehind) {
  ScopedWinHttpApi scoped(LoggingApi());
  servers().DefaultAnswer(AnswerScript().Header("Set-Cookie: a=1").Body("answer"));
  const std::string url = Url("/again");
  auto request = [&] {
    const Outputs o = Call({.url = url, .method = 1, .bodyText = "x=1"});
    ASSERT_EQ(o.result, "answer");
  };
  for (int i = 0; i < 10; ++i) request();
  const int afterTen = ProcessHandleCount();
  ASSERT_GT(afterTen, 0);
  for (int i = 10; i < 500; ++i) request();
  EXPECT_EQ(ProcessHandleCount(), afterTen);
  EXPECT_EQ(g_log.opened.size(), 1500u);
  EXPECT_EQ(g_log.closed.size(), g_log.opened.size());
}

}  // namespace
}  // namespace lumenta
