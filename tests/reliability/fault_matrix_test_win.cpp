// The network fault matrix: WebRequest, with the real WinHttp under Wine, against a loopback
// server that fails in each of the ways a real one can (refuses, resets, drips, goes silent,
// sends garbage, oversized headers and bodies, broken chunking, bad certificates). Each row
// checks the status text and result the caller gets, what the other outputs hold, that the
// process keeps no handle from it, and that the recognition flow built on the request ends with
// an empty result box or with exactly what the service sent.
//
// Every row is also written, as observed, to fault_matrix.tsv in this program's build folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <winhttp.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "app/web_request_function_win.h"
#include "base/text_encoders.h"
#include "http/web_request.h"
#include "http/winhttp_api_win.h"
#include "ocr/recognition_flow.h"
#include "tests/http/process_handles_win.h"
#include "tests/http/test_servers_win.h"
#include "tests/http/wine_paths_win.h"

namespace lumenta {
namespace {

using testing_support::AnswerScript;
using testing_support::LoopbackServers;
using testing_support::ProcessHandleCount;

// The service's answer to a recognition request, as it travels (UTF-8): two lines.
const std::string kAnswer =
    "{\"words_result\":[{\"words\":\"\xE7\xAC\xAC\xE4\xB8\x80\xE8\xA1\x8C\"},"
    "{\"words\":\"second line\"}],\"words_result_num\":2,\"log_id\":1}";
const size_t kHugeBody = size_t{300} << 20;
const size_t kBodyLimit = size_t{256} << 20;

// What the caller's body variable holds afterwards.
enum class Body {
  kUntouched,  // not written: the request failed before the response
  kWhole,      // exactly what the server sent
  kCutShort,   // a beginning of it (possibly empty), short of what was announced
  kUpToLimit,  // the first 256 MiB or a little less of a larger body
};

struct Outputs {
  Text receivedCookies = "untouched";
  Text responseHeaders = "untouched";
  Text statusText = "untouched";
  ByteBuffer responseBytes{"untouched"};
  Text result;
  double seconds = 0;
};

struct FaultCase {
  const char* name;   // test name
  const char* fault;  // the fault, for the matrix
  // The listener that serves the request ("http", "https_expired", ...); null: a loopback port
  // nothing listens on.
  const char* listener;
  // The server's answer, given the body a sound server would send; null: none is asked for.
  std::function<AnswerScript(const std::string& body)> answer;
  const char* status;  // expected status text (UTF-8)
  Body body;
  bool headersWritten;
  // What else the row's outputs must show.
  std::function<void(const Outputs&)> also = nullptr;
  // A second status the row may end with, because WinHttp itself decides it (UTF-8); null: none.
  const char* orStatus = nullptr;
};

// WinHttp handles opened and closed, counted where the program opens and closes them, and the
// time spent inside WinHttp's sending, receiving and reading.
int g_opened = 0;
int g_closed = 0;
double g_winHttpSeconds = 0;

class InWinHttp {
 public:
  ~InWinHttp() {
    g_winHttpSeconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

HINTERNET Counted(HINTERNET handle) {
  g_opened += handle != nullptr;
  return handle;
}

WinHttpApi CountingApi() {
  WinHttpApi api;
  api.open =
      [](LPCWSTR agent, DWORD access, LPCWSTR proxy, LPCWSTR bypass, DWORD flags)
          WINAPI -> HINTERNET { return Counted(WinHttpOpen(agent, access, proxy, bypass, flags)); };
  api.connect =
      [](HINTERNET session, LPCWSTR host, INTERNET_PORT port, DWORD reserved)
          WINAPI -> HINTERNET { return Counted(WinHttpConnect(session, host, port, reserved)); };
  api.openRequest = [](HINTERNET connection, LPCWSTR verb, LPCWSTR object, LPCWSTR version,
                       LPCWSTR referrer, LPCWSTR* types, DWORD flags) WINAPI -> HINTERNET {
    return Counted(WinHttpOpenRequest(connection, verb, object, version, referrer, types, flags));
  };
  api.closeHandle = [](HINTERNET handle) WINAPI -> BOOL {
    ++g_closed;
    InWinHttp timed;
    return WinHttpCloseHandle(handle);
  };
  api.sendRequest = [](HINTERNET request, LPCWSTR headers, DWORD headersLength, LPVOID body,
                       DWORD bodyLength, DWORD total, DWORD_PTR context) WINAPI -> BOOL {
    InWinHttp timed;
    return WinHttpSendRequest(request, headers, headersLength, body, bodyLength, total, context);
  };
  api.receiveResponse = [](HINTERNET request, LPVOID reserved) WINAPI -> BOOL {
    InWinHttp timed;
    return WinHttpReceiveResponse(request, reserved);
  };
  api.queryDataAvailable = [](HINTERNET request, LPDWORD available) WINAPI -> BOOL {
    InWinHttp timed;
    return WinHttpQueryDataAvailable(request, available);
  };
  api.readData = [](HINTERNET request, LPVOID buffer, DWORD size, LPDWORD read) WINAPI -> BOOL {
    InWinHttp timed;
    return WinHttpReadData(request, buffer, size, read);
  };
  api.queryHeaders = [](HINTERNET request, DWORD level, LPCWSTR name, LPVOID buffer, LPDWORD length,
                        LPDWORD index) WINAPI -> BOOL {
    InWinHttp timed;
    return WinHttpQueryHeaders(request, level, name, buffer, length, index);
  };
  return api;
}

// The matrix as observed, one line per row.
class MatrixFile {
 public:
  // The request matrix, one line per row.
  static MatrixFile& Requests() {
    static MatrixFile file("fault_matrix.tsv",
                           "fault\tstatus text\tresult\tresponse bytes\tresponse headers\tcookies\t"
                           "seconds (in WinHttp)\t"
                           "kernel handles before/after\tWinHttp handles opened/closed\tverdict");
    return file;
  }
  // The result box after a whole recognition whose second answer has the row's fault.
  static MatrixFile& Recognitions() {
    static MatrixFile file("fault_matrix_recognition.tsv",
                           "fault\trecognition box\tseconds\tkernel handles before/after\tverdict");
    return file;
  }
  void Write(const std::string& line) {
    if (!file_) return;
    std::fputs((line + "\n").c_str(), file_);
    std::fflush(file_);
  }

 private:
  MatrixFile(const std::string& name, const std::string& header) {
    file_ = _wfopen(
        testing_support::WinePath(LUMENTA_BINARY_DIR "/tests/reliability/" + name).c_str(), L"wb");
    Write(header);
  }
  ~MatrixFile() {
    if (file_) std::fclose(file_);
  }
  std::FILE* file_ = nullptr;
};

std::string Describe(Body body, const ByteBuffer& bytes) {
  switch (body) {
    case Body::kUntouched:
      return bytes == "untouched" ? "not written" : std::to_string(bytes.size()) + " bytes";
    default:
      return std::to_string(bytes.size()) + " bytes";
  }
}

class FaultMatrix : public ::testing::TestWithParam<FaultCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(servers().ready()) << "the loopback servers are not running (run through ctest)";
    servers().Reset();
  }

  static LoopbackServers& servers() { return LoopbackServers::Get(); }

  static std::string Base(const FaultCase& c) {
    if (!c.listener) {
      return "http://localhost:" + std::to_string(testing_support::UnusedLoopbackPort());
    }
    const std::string url = servers().Url(c.listener, "");
    return url;
  }

  // One request as the recognition flow makes its second one: a POST with a form body.
  static Outputs Request(const FaultCase& c, const std::string& body) {
    if (c.answer) servers().Answer(c.answer(body));
    Outputs o;
    const std::string url = Base(c) + "/rest/2.0/ocr/v1/general_basic?access_token=t";
    const auto start = std::chrono::steady_clock::now();
    o.result = WebRequest({.url = url,
                           .method = 1,
                           .bodyText = "image=iVBORw0KGgo%3D",
                           .receivedCookies = &o.receivedCookies,
                           .extraHeaders = "Content-Type:application/x-www-form-urlencoded",
                           .responseHeaders = &o.responseHeaders,
                           .timeoutSeconds = 2,
                           .statusText = &o.statusText,
                           .responseBytes = &o.responseBytes});
    o.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return o;
  }
};

// The body a row's server sends: the recognition answer, or 300 MiB of letters for the row
// that goes beyond the limit.
std::string SentBody(const FaultCase& c) { return c.body == Body::kUpToLimit ? "" : kAnswer; }

// True when `bytes` are the beginning of a generated text body (byte i is 'a' + i % 26).
bool IsGeneratedText(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != static_cast<char>('a' + i % 26)) return false;
  }
  return true;
}

size_t CookieCount(const Text& cookies) {
  if (cookies == "untouched" || cookies.empty()) return 0;
  size_t count = 1;
  for (size_t at = 0; (at = cookies.find("; ", at)) != Text::npos; at += 2) ++count;
  return count;
}

TEST_P(FaultMatrix, EndsWithTheDescribedStatusAndKeepsNoHandle) {
  const FaultCase& c = GetParam();
  const std::string sent = SentBody(c);
  ScopedWinHttpApi counting(CountingApi());

  // The first request lets WinHttp set up whatever it keeps for later ones (its threads, its
  // pool of connections); the second must leave the process as it found it.
  (void)Request(c, sent);
  const int handlesBefore = ProcessHandleCount();
  g_opened = g_closed = 0;
  g_winHttpSeconds = 0;
  const Outputs o = Request(c, sent);
  const double winHttpSeconds = g_winHttpSeconds;
  const int handlesAfter = ProcessHandleCount();
  const int opened = g_opened, closed = g_closed;

  if (c.orStatus == nullptr || o.statusText != Utf8ToAnsi(c.orStatus)) {
    EXPECT_EQ(o.statusText, Utf8ToAnsi(c.status));
  }
  // No handle kept; Wine may close one of its own (an idle pooled connection) meanwhile.
  EXPECT_LE(handlesAfter, handlesBefore);
  EXPECT_GT(handlesBefore, 0);
  EXPECT_EQ(closed, opened);
  switch (c.body) {
    case Body::kUntouched:
      EXPECT_EQ(o.responseBytes, "untouched");
      EXPECT_EQ(o.result, "");
      break;
    case Body::kWhole:
      EXPECT_EQ(o.responseBytes, sent);
      EXPECT_EQ(o.result, sent);
      break;
    case Body::kCutShort:
      EXPECT_LE(o.responseBytes.size(), sent.size());
      EXPECT_EQ(sent.compare(0, o.responseBytes.size(), o.responseBytes.view()), 0);
      EXPECT_EQ(o.result, "");
      break;
    case Body::kUpToLimit:
      EXPECT_LE(o.responseBytes.size(), kBodyLimit);
      EXPECT_GT(o.responseBytes.size(), kBodyLimit - (size_t{1} << 20));
      EXPECT_TRUE(IsGeneratedText(o.responseBytes.view()));
      EXPECT_EQ(o.result, "");
      break;
  }
  if (c.headersWritten) {
    EXPECT_EQ(o.responseHeaders.rfind("HTTP/1.1 ", 0), 0u) << o.responseHeaders.substr(0, 200);
  } else {
    EXPECT_EQ(o.responseHeaders, "untouched");
  }
  if (c.also) c.also(o);

  char seconds[48];
  std::snprintf(seconds, sizeof seconds, "%.1f (%.1f)", o.seconds, winHttpSeconds);
  MatrixFile::Requests().Write(
      std::string(c.fault) + "\t" + AnsiToUtf8(o.statusText).TakeString() + "\t" +
      (o.result.empty() ? "empty" : "the body (" + std::to_string(o.result.size()) + " bytes)") +
      "\t" + Describe(c.body, o.responseBytes) + "\t" +
      (o.responseHeaders == "untouched" ? "not written"
                                        : std::to_string(o.responseHeaders.size()) + " bytes") +
      "\t" + std::to_string(CookieCount(o.receivedCookies)) + "\t" + seconds + "\t" +
      std::to_string(handlesBefore) + "/" + std::to_string(handlesAfter) + "\t" +
      std::to_string(opened) + "/" + std::to_string(closed) + "\t" +
      (HasFailure() ? "FAILED" : "as described"));
}

// The main window's controls as the recognition flow sees them: the keys typed, a picture, and
// a result box that starts with an earlier result in it.
class BoxWindow : public RecognitionWindow {
 public:
  Text box = "an earlier result";
  int messages = 0;

  bool GeneralModeChecked() override { return true; }
  bool AccurateModeChecked() override { return false; }
  Text ApiKey() override { return "ak"; }
  Text SecretKey() override { return "sk"; }
  SharedBytes PictureBytes() override {
    return std::make_shared<const ByteBuffer>("\x89PNG\r\n\x1a\n", 8);
  }
  void ClearResult() override { box.clear(); }
  void AppendResult(const Text& item) override { box += item; }
  void ShowMessage(const Text&) override { ++messages; }
  void ShowBusy(bool) override {}
};

// The recognition flow, with the program's own request function, where the service gives a
// sound token and then fails in the row's way: the box ends empty, or holds exactly the two
// lines the service sent when the answer arrived whole, and the process keeps no handle.
TEST_P(FaultMatrix, TheRecognitionBoxEndsEmptyOrWithWhatTheServiceSent) {
  const FaultCase& c = GetParam();
  const std::string sent = SentBody(c);
  const std::string tokenAnswer =
      "{\"refresh_token\":\"r\",\"access_token\":\"T0KEN\",\"scope\":\"public\"}";
  auto run = [&] {
    servers().Reset();
    if (c.answer) {
      servers().Answer(AnswerScript().Body(tokenAnswer));
      servers().Answer(c.answer(sent));
    }
    BoxWindow window;
    RecognitionFlow flow(window, app::WebRequestFunctionForProgram(), Base(c));
    flow.CheckAndRecognize();
    EXPECT_FALSE(flow.running());
    EXPECT_EQ(window.messages, 0);
    return window.box;
  };

  (void)run();
  const int handlesBefore = ProcessHandleCount();
  const auto start = std::chrono::steady_clock::now();
  const Text box = run();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const int handlesAfter = ProcessHandleCount();
  EXPECT_LE(handlesAfter, handlesBefore);  // as above: none kept
  const Text twoLines = Utf8ToAnsi("\xE7\xAC\xAC\xE4\xB8\x80\xE8\xA1\x8C") + "second line";
  if (c.body == Body::kWhole) {
    EXPECT_EQ(box, twoLines);
  } else {
    EXPECT_EQ(box, "");
  }
  if (c.listener && c.answer) {
    const auto requests = servers().Requests();
    EXPECT_EQ(requests.size(), 2u);
    if (requests.size() == 2) {
      EXPECT_NE(requests[1].line.find("access_token=T0KEN"), std::string::npos) << requests[1].line;
    }
  }

  char timing[32];
  std::snprintf(timing, sizeof timing, "%.1f", seconds);
  MatrixFile::Recognitions().Write(std::string(c.fault) + "\t" +
                                   (box.empty()       ? "empty"
                                    : box == twoLines ? "the two lines sent"
                                                      : "other text") +
                                   "\t" + timing + "\t" + std::to_string(handlesBefore) + "/" +
                                   std::to_string(handlesAfter) + "\t" +
                                   (HasFailure() ? "FAILED" : "as described"));
}

constexpr const char* kOk = "200 OK";
constexpr const char* kSendFailed = "711 发送请求失败!";
constexpr const char* kNoResponse = "712 服务器未响应!";
constexpr const char* kReadFailed = "713 读取数据失败!";

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultMatrix,
    ::testing::Values(
        FaultCase{"SoundAnswer", "none: a sound answer", "http",
                  [](const std::string& b) { return AnswerScript().Body(b); }, kOk, Body::kWhole,
                  true},
        FaultCase{"SoundAnswerOverTls", "none: a sound answer over TLS", "https_trusted",
                  [](const std::string& b) { return AnswerScript().Body(b); }, kOk, Body::kWhole,
                  true},
        FaultCase{"ConnectionRefused", "connection refused", nullptr, nullptr, kSendFailed,
                  Body::kUntouched, false},
        FaultCase{"ResetBeforeTheStatusLine", "reset before the status line", "http",
                  [](const std::string& b) { return AnswerScript().Body(b).ResetBeforeAnswer(); },
                  kNoResponse, Body::kUntouched, false},
        FaultCase{"ResetAfterTheHeaders", "reset after the headers", "http",
                  [](const std::string& b) { return AnswerScript().Body(b).DropAfter(0).Reset(); },
                  kReadFailed, Body::kCutShort, true},
        FaultCase{"ResetMidBody", "reset in the middle of the body", "http",
                  [](const std::string& b) {
                    return AnswerScript().Body(b).DropAfter(b.size() / 2).Reset();
                  },
                  kReadFailed, Body::kCutShort, true},
        FaultCase{
            "ClosedMidBody", "closed in the middle of the body", "http",
            [](const std::string& b) { return AnswerScript().Body(b).DropAfter(b.size() / 2); },
            kReadFailed, Body::kCutShort, true},
        FaultCase{"LongerLengthAnnounced", "a longer body announced than sent, then closed", "http",
                  [](const std::string& b) {
                    return AnswerScript().Body(b).Length(b.size() * 2).Close();
                  },
                  kReadFailed, Body::kCutShort, true},
        FaultCase{"SlowDrip", "a slow drip: 16 bytes every 0.5 s, under the 2 s time-out", "http",
                  [](const std::string& b) { return AnswerScript().Body(b).Drip(16, 0.5); }, kOk,
                  Body::kWhole, true},
        FaultCase{"SilenceEndedByClosing", "silence, ended by the server closing after 1.5 s",
                  "http", [](const std::string&) { return AnswerScript().Silence(1.5); },
                  kNoResponse, Body::kUntouched, false},
        FaultCase{"GarbageInsteadOfAStatusLine", "garbage instead of a status line", "http",
                  [](const std::string&) {
                    return AnswerScript().Raw(
                        std::string("SSH-2.0-OpenSSH_9.2\r\n\x01\x02\xff"
                                    "garbage\r\n\r\n",
                                    35));
                  },
                  kNoResponse, Body::kUntouched, false},
        // Wine's WinHttp takes the answer and keeps the line's first 1,500 or so characters
        // (Windows' refuses a header block beyond 64 KiB in WinHttpReceiveResponse, which ends the
        // request with 712); the body after it is read as usual.
        FaultCase{
            "OneMebibyteHeaderLine", "a header line of 1 MiB", "http",
            [](const std::string& b) { return AnswerScript().LongHeader(size_t{1} << 20).Body(b); },
            kOk, Body::kWhole, true,
            [](const Outputs& o) {
              EXPECT_EQ(o.responseHeaders.rfind("HTTP/1.1 200 OK\r\nX-Long: aaaa", 0), 0u);
            }},
        FaultCase{"TenThousandCookies", "10,000 Set-Cookie lines", "http",
                  [](const std::string& b) { return AnswerScript().SetCookies(10000).Body(b); },
                  kOk, Body::kWhole, true,
                  [](const Outputs& o) {
                    EXPECT_EQ(CookieCount(o.receivedCookies), 10000u);
                    EXPECT_EQ(o.receivedCookies.rfind("; c9999=9999"),
                              o.receivedCookies.size() - 12);
                  }},
        FaultCase{"ThreeHundredMebibyteBody", "a body of 300 MiB", "http",
                  [](const std::string&) { return AnswerScript().GeneratedText(kHugeBody); },
                  kReadFailed, Body::kUpToLimit, true},
        // Wine's WinHttp skips whatever in a chunk-size line is not a hex digit, so it reads
        // "zz" as the last chunk: the body ends empty with the answer's own status, unless the
        // server's close overtakes the read. Windows' WinHttp fails the read. Either way the
        // caller never gets the chunk's bytes as the body.
        FaultCase{"BadChunkSize", "chunked encoding with a bad chunk size", "http",
                  [](const std::string& b) { return AnswerScript().Body(b).BadChunk("zz"); },
                  kReadFailed, Body::kCutShort, true,
                  [](const Outputs& o) {
                    if (o.statusText == "200 OK") {
                      EXPECT_EQ(o.responseBytes, "");
                    }
                  },
                  "200 OK"},
        FaultCase{"ExpiredCertificate", "TLS: an expired certificate", "https_expired", nullptr,
                  kSendFailed, Body::kUntouched, false},
        FaultCase{"WrongHostCertificate", "TLS: a certificate for another host", "https_wrong_host",
                  nullptr, kSendFailed, Body::kUntouched, false},
        FaultCase{"SelfSignedCertificate", "TLS: a self-signed certificate", "https_self_signed",
                  nullptr, kSendFailed, Body::kUntouched, false},
        FaultCase{"UntrustedIssuer", "TLS: a certificate of an issuer nobody trusts",
                  "https_untrusted", nullptr, kSendFailed, Body::kUntouched, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumenta
