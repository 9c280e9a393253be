#pragma once
// The loopback servers the web request tests talk to (tests/http/loopback_servers.py, started
// by ctest before the tests): their ports, answer scripts and the requests they recorded.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumenta::testing_support {

// One answer of the scripted server, built step by step.
class AnswerScript {
 public:
  AnswerScript& Status(std::string_view statusLine);
  AnswerScript& Header(std::string_view line);
  AnswerScript& Body(std::string_view bytes);
  AnswerScript& GeneratedBody(size_t size);  // byte i is i % 251 (see IsGeneratedBody)
  AnswerScript& GeneratedText(size_t size);  // byte i is 'a' + i % 26: a body without zeros
  AnswerScript& NoLength();                  // the body ends when the connection closes
  AnswerScript& Length(size_t announced);
  AnswerScript& Chunked(size_t chunkSize);
  AnswerScript& DropAfter(size_t bodyBytes);
  AnswerScript& Reset();  // a dropped connection ends with a reset
  AnswerScript& Silence(double seconds);
  AnswerScript& Close();
  // Faults of the server: a reset before any byte of the answer; these bytes instead of an
  // answer; the body in pieces with a pause before each; a header line of `bytes` bytes;
  // `count` Set-Cookie lines; a chunked body whose first size line is `sizeLine`.
  AnswerScript& ResetBeforeAnswer();
  AnswerScript& Raw(std::string_view bytes);
  AnswerScript& Drip(size_t pieceBytes, double secondsBetween);
  AnswerScript& LongHeader(size_t bytes);
  AnswerScript& SetCookies(size_t count);
  AnswerScript& BadChunk(std::string_view sizeLine);
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// A loopback port nothing listens on (it was free a moment ago).
int UnusedLoopbackPort();

// True when `bytes` are the first bytes.size() bytes of a generated body.
bool IsGeneratedBody(std::string_view bytes);

struct RecordedRequest {
  std::string listener;  // "http", "https_trusted", "proxy", ...
  std::string line;      // the request line without CR LF
  std::string headers;   // every header line with its CR LF
  std::string body;
};

class LoopbackServers {
 public:
  // The servers of this build (read once from their state file).
  static LoopbackServers& Get();

  bool ready() const { return !ports_.empty(); }
  int Port(std::string_view listener) const;
  // "http://localhost:<port>" + pathAndQuery for "http", "https://..." for the https listeners.
  std::string Url(std::string_view listener, std::string_view pathAndQuery) const;

  void Reset();  // forgets requests and queued answers; the default answer is "200 OK", "ok"
  void Answer(const AnswerScript& script);
  void DefaultAnswer(const AnswerScript& script);
  void DemandProxyAuthorization(std::string_view value);  // empty: the proxy lets all through
  std::vector<RecordedRequest> Requests();

 private:
  LoopbackServers();
  std::string Command(std::string_view command, std::string_view payload, bool withPayload);

  std::vector<std::pair<std::string, int>> ports_;
};

}  // namespace lumenta::testing_support
