#include "http/response_lines.h"

#include <cstdint>
#include <optional>

#include "base/pending_events.h"
#include "base/text_encoders.h"
#include "http/cookies.h"
#include "http/text_pieces.h"

namespace lumenta {
namespace {
constexpr std::string_view kLocation = "Location: ";
constexpr size_t kStatusStart = 9;  // "HTTP/1.1 " is nine bytes
}  // namespace

Text StatusFromResponseHeaders(std::string_view responseHeaders) {
  responseHeaders = AsText(responseHeaders);
  if (responseHeaders.size() <= kStatusStart) return {};
  const int end = FindText(responseHeaders, "\r\n", static_cast<int>(kStatusStart) + 1);
  if (end == -1) return {};
  return Text(responseHeaders.substr(kStatusStart, static_cast<size_t>(end - 1) - kStatusStart));
}

namespace {

// The value of the first header line with this name (any case), trimmed; none without one.
std::optional<Text> FirstHeaderValue(std::string_view responseHeaders, std::string_view name) {
  const Text prefix = Text(name) + ":";
  for (const Text& line : SplitList(responseHeaders, "\r\n")) {
    if (StartsWith(line, prefix, /*ignoreCase=*/true))
      return TrimBlanks(line.substr(prefix.size()));
  }
  return std::nullopt;
}

}  // namespace

bool BodyFallsShortOfItsLength(std::string_view responseHeaders, size_t bodySize,
                               bool headRequest) {
  if (headRequest) return false;
  const Text status = StatusFromResponseHeaders(responseHeaders);
  if (status.empty() || status[0] == '1' || status.rfind("204", 0) == 0 ||
      status.rfind("304", 0) == 0) {
    return false;
  }
  if (FirstHeaderValue(responseHeaders, "Transfer-Encoding")) return false;
  const std::optional<Text> length = FirstHeaderValue(responseHeaders, "Content-Length");
  if (!length || length->empty() || length->size() > 18) return false;
  uint64_t announced = 0;
  for (char c : *length) {
    if (c < '0' || c > '9') return false;
    announced = announced * 10 + static_cast<uint64_t>(c - '0');
  }
  return bodySize < announced;
}

void ReadResponseLines(std::string_view responseHeaders, Text& receivedCookies,
                       Text& redirectLocation) {
  for (const Text& line : SplitList(responseHeaders, "\r\n")) {
    CollectResponseCookies(line, receivedCookies);
    if (StartsWith(line, kLocation, /*ignoreCase=*/true)) {
      redirectLocation = line.substr(kLocation.size());
    }
    ProcessPendingEvents();
  }
  FinishResponseCookies(receivedCookies);
}

}  // namespace lumenta
