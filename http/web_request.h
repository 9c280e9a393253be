#pragma once
// WebRequest: one synchronous HTTP or HTTPS request over the platform's WinHttp, returning the
// response body as text. Every call opens and closes its own session, connection and request.
// Nothing is shown to the user: a failure leaves one of the numbered messages (700 to 713) in
// `statusText` and gives empty text.
//
// The parameters come in one structure whose members stand in the operation's parameter order;
// a member left at its default counts as omitted. Out and in-out parameters are pointers to the
// caller's variables (null: omitted); they are written only at the points the operation writes
// them, so a failure leaves the others as they were. Call it with designated initializers:
//   WebRequest({.url = url, .method = 1, .bodyText = form,
//               .extraHeaders = "Content-Type:application/x-www-form-urlencoded"});
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

#include "base/text.h"
#include "http/request_settings.h"

namespace lumenta {

struct WebRequestParameters {
  // 1. Address: scheme http or https, optional port, path and query.
  std::string_view url = {};
  // 2. Verb number: 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT;
  //    any other number sends GET.
  int method = 0;
  // 3. Request body as text, sent as its bytes (up to a zero byte, without terminator).
  std::string_view bodyText = {};
  // 4. In-out: cookies to send ("a=1; b=2", or a whole "Cookie: ..." line); after a merge the
  //    merged cookie text.
  Text* sendCookies = nullptr;
  // 5. In-out: the cookies the response sets are appended to what the variable holds.
  Text* receivedCookies = nullptr;
  // 6. The caller's request header lines, separated by CR LF.
  std::string_view extraHeaders = {};
  // 7. Out: the raw header block of the final response, status line first, CR LF separated.
  Text* responseHeaders = nullptr;
  // 8. True: redirects are not followed (a 3xx answer is the response).
  bool noRedirect = false;
  // 9, 10. Basic authentication at the server; set only when both are given.
  std::string_view serverUser = {};
  std::string_view serverPassword = {};
  // 11. Proxy as "host:port"; empty: no proxy at all (the system's settings are never read).
  std::string_view proxyAddress = {};
  // 12, 13. Basic authentication at the proxy; set only when both are given.
  std::string_view proxyUser = {};
  std::string_view proxyPassword = {};
  // 14. Time-out in seconds for name resolution, connecting, sending and receiving; 0 or less
  //     selects 30 seconds. Keep it at or below 2147483 (the milliseconds are a 32-bit number).
  int timeoutSeconds = 0;
  // 15. Out: the value of the last Location line of the response; untouched when it has none.
  Text* redirectLocation = nullptr;
  // 16. Out: on success the status code and reason ("200 OK"); on failure a numbered message.
  Text* statusText = nullptr;
  // 17. Out: the response body exactly as received.
  ByteBuffer* responseBytes = nullptr;
  // 18. Merge the sent cookies into the received ones (see MergeCookies).
  bool mergeCookies = true;
  // 19. Add the default request headers the caller did not give (see BuildRequestHeaders).
  bool completeHeaders = true;
  // 20. Request body as bytes; when not empty it is sent instead of `bodyText`.
  std::string_view bodyBytes = {};
  // 21. Re-case the request header names (see NormaliseHeaderNames).
  bool normaliseHeaderNames = true;
};

// Performs the request; returns the response body as text (DecodeResponseText), or empty text
// when the request failed. Windows only. The program's described shape of SendHttpRequest.
[[nodiscard]] Text WebRequest(const WebRequestParameters& parameters);

// The same request with typed parts: what goes out, and what came back.
// A request body made piece by piece while it is sent, for one too large to be worth building
// whole first: its length, known before the request starts (it is the Content-Length), and a
// function that writes the next piece into the `room` bytes at `buffer` and returns how many it
// wrote (never more than `room`; 0 only when nothing is left).
struct BodyPieces {
  size_t length = 0;
  std::function<size_t(char* buffer, size_t room)> next;
};

struct HttpRequest {
  std::string_view url = {};
  HttpVerb verb = HttpVerb::kGet;
  std::string_view body = {};     // sent as these bytes
  // When set, the body is sent from these pieces instead, byte for byte as if it were given
  // whole; pieces that end before their announced length fail the sending.
  const BodyPieces* bodyPieces = nullptr;
  std::string_view cookies = {};  // to send ("a=1; b=2", or a whole "Cookie: ..." line)
  std::string_view extraHeaders = {};
  bool noRedirect = false;
  std::string_view serverUser = {}, serverPassword = {};
  std::string_view proxyAddress = {};
  std::string_view proxyUser = {}, proxyPassword = {};
  int timeoutSeconds = 0;
  bool mergeCookies = true;
  bool completeHeaders = true;
  bool normaliseHeaderNames = true;
  // Fill HttpResponse::bytes besides the text: a second copy of the body. Without it the text
  // takes the body's own buffer.
  bool keepBodyBytes = false;
};

// A part of the response is set only when the request got as far as producing it; what the
// described operation leaves untouched in its caller's variables stays unset here.
struct HttpResponse {
  Text text;  // the body as text; empty when the request failed
  // The status code and reason ("200 OK"), or a numbered failure message; unset only when the
  // response's header block could not be read after a complete body.
  std::optional<Text> status;
  std::optional<Text> headers;      // the raw header block of the final response
  std::optional<Text> cookiesSent;  // after a merge: the merged cookies (the sent ones become them)
  std::optional<Text> cookiesReceived;  // the cookies the response set (after the merge)
  std::optional<Text> location;         // the last Location line's value
  std::optional<ByteBuffer> bytes;      // the body exactly as received (when asked to keep it)
};

// Performs the request. `cookiesReceivedBefore` is what the response's cookies are appended to.
// Windows only.
[[nodiscard]] HttpResponse SendHttpRequest(const HttpRequest& request,
                                           std::string_view cookiesReceivedBefore = {});

}  // namespace lumenta
