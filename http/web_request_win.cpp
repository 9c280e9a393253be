// WebRequest over WinHttp: one synchronous request, every handle closed before it returns.
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/pending_events.h"
#include "base/text_encoders.h"
#include "http/cookies.h"
#include "http/request_headers.h"
#include "http/request_settings.h"
#include "http/response_decoding.h"
#include "http/response_lines.h"
#include "http/web_request.h"
#include "http/winhttp_api_win.h"

namespace lumenta {
namespace {

// The numbered messages, in GBK.
constexpr std::string_view kNoWinHttp =  // 700 当前系统不支持WinHttp服务!
    "700 \xB5\xB1\xC7\xB0\xCF\xB5\xCD\xB3\xB2\xBB\xD6\xA7\xB3\xD6WinHttp\xB7\xFE\xCE\xF1!";
constexpr std::string_view kBadUrl =  // 701 解析URL地址失败!
    "701 \xBD\xE2\xCE\xF6URL\xB5\xD8\xD6\xB7\xCA\xA7\xB0\xDC!";
constexpr std::string_view kNoSession =  // 702 创建WinHttp会话失败!
    "702 \xB4\xB4\xBD\xA8WinHttp\xBB\xE1\xBB\xB0\xCA\xA7\xB0\xDC!";
constexpr std::string_view kNoConnection =  // 703 创建WinHttp连接失败!
    "703 \xB4\xB4\xBD\xA8WinHttp\xC1\xAC\xBD\xD3\xCA\xA7\xB0\xDC!";
constexpr std::string_view kNoRequest =  // 704 创建WinHttp请求失败!
    "704 \xB4\xB4\xBD\xA8WinHttp\xC7\xEB\xC7\xF3\xCA\xA7\xB0\xDC!";
constexpr std::string_view kNoTimeouts =  // 705 设置超时时间失败!
    "705 \xC9\xE8\xD6\xC3\xB3\xAC\xCA\xB1\xCA\xB1\xBC\xE4\xCA\xA7\xB0\xDC!";
constexpr std::string_view kNoCredentials =  // 707 设置代理凭证失败!
    "707 \xC9\xE8\xD6\xC3\xB4\xFA\xC0\xED\xC6\xBE\xD6\xA4\xCA\xA7\xB0\xDC!";
constexpr std::string_view kNoCookieOption =  // 708 禁止自动设置Cookies失败!
    "708 \xBD\xFB\xD6\xB9\xD7\xD4\xB6\xAF\xC9\xE8\xD6\xC3"
    "Cookies\xCA\xA7\xB0\xDC!";
constexpr std::string_view kNoRedirectOption =  // 709 重定向设置失败!
    "709 \xD6\xD8\xB6\xA8\xCF\xF2\xC9\xE8\xD6\xC3\xCA\xA7\xB0\xDC!";
constexpr std::string_view kNoHeaders =  // 710 设置协议头失败!
    "710 \xC9\xE8\xD6\xC3\xD0\xAD\xD2\xE9\xCD\xB7\xCA\xA7\xB0\xDC!";
constexpr std::string_view kSendFailed =  // 711 发送请求失败!
    "711 \xB7\xA2\xCB\xCD\xC7\xEB\xC7\xF3\xCA\xA7\xB0\xDC!";
constexpr std::string_view kNoResponse =  // 712 服务器未响应!
    "712 \xB7\xFE\xCE\xF1\xC6\xF7\xCE\xB4\xCF\xEC\xD3\xA6!";
constexpr std::string_view kReadFailed =  // 713 读取数据失败!
    "713 \xB6\xC1\xC8\xA1\xCA\xFD\xBE\xDD\xCA\xA7\xB0\xDC!";

// One WinHttp handle, closed through the current table when the owner goes. Declared in the
// order session, connection, request, the three close in the reverse order on every path.
class InternetHandle {
 public:
  InternetHandle() = default;
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_) CurrentWinHttpApi().closeHandle(handle_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  InternetHandle& operator=(InternetHandle&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_ = nullptr;
};

inline const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// Null for empty text: WinHttp reads a null name as "none".
inline const wchar_t* WideOrNull(const std::u16string& text) {
  return text.empty() ? nullptr : Wide(text);
}

std::u16string_view Piece(const wchar_t* start, DWORD length) {
  if (!start) return {};
  return {reinterpret_cast<const char16_t*>(start), length};
}

struct UrlParts {
  Text hostName;
  INTERNET_PORT port = 0;
  std::u16string objectName;
  bool secure = false;
};

// WinHttpCrackUrl with pointers into the URL for scheme, host, path and extra information.
bool CrackUrl(const WinHttpApi& api, const std::u16string& url, UrlParts& parts) {
  URL_COMPONENTS components{};
  components.dwStructSize = sizeof(components);
  components.dwSchemeLength = static_cast<DWORD>(-1);
  components.dwHostNameLength = static_cast<DWORD>(-1);
  components.dwUrlPathLength = static_cast<DWORD>(-1);
  components.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!api.crackUrl(Wide(url), static_cast<DWORD>(url.size()), 0, &components)) return false;
  parts.hostName = Utf16ToGbk(Piece(components.lpszHostName, components.dwHostNameLength));
  parts.port = components.nPort;
  // The path and the query (with a fragment, as the parser reports it) make one object name; a
  // URL that ends after the host asks for the root.
  parts.objectName = Piece(components.lpszUrlPath, components.dwUrlPathLength);
  if (parts.objectName.empty()) {
    parts.objectName = u"/";
  } else {
    parts.objectName += Piece(components.lpszExtraInfo, components.dwExtraInfoLength);
  }
  parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
  return true;
}

bool SetDwordOption(const WinHttpApi& api, HINTERNET request, DWORD option, DWORD value) {
  return api.setOption(request, option, &value, sizeof(value));
}

// The body's length as the response announces it (its Content-Length line), when WinHttp reads
// one as a number. Only a size for the buffer: what really arrives decides what the body is.
std::optional<size_t> AnnouncedLength(const WinHttpApi& api, HINTERNET request) {
  DWORD length = 0;
  DWORD size = sizeof(length);
  if (!api.queryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &length, &size, WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  return length;
}

// The size of the buffer for a body whose length is not announced, before it grows by doubling.
constexpr size_t kFirstBufferSize = size_t{64} << 10;

// Makes room after the `filled` bytes of `buffer`: its size doubles, up to `limit`. False when
// the buffer is at the limit already or no room is found.
bool Grow(ByteBuffer& buffer, size_t filled, size_t limit) {
  if (filled >= limit) return false;
  const size_t size = std::min(limit, std::max(kFirstBufferSize, filled * 2));
  try {
    buffer.resize(size);
  } catch (const std::bad_alloc&) {  // a 32-bit process may find no room for a large body
    return false;
  }
  return true;
}

// Reads the whole body into one buffer: sized from the announced length when there is one
// within the limit, otherwise grown by doubling. Each read asks for what WinHttp reports as
// available, at most what the buffer still holds, and writes straight into the buffer; the
// buffer ends trimmed to what was read. False when the reading failed: the connection broke,
// or the body grew beyond the limit; what was read before stays in `body`.
bool ReadBody(const WinHttpApi& api, HINTERNET request, std::optional<size_t> announced,
              ByteBuffer& body) {
  const size_t limit = CurrentResponseBodyLimit();
  body.clear();
  if (announced && *announced > 0 && *announced <= limit) {
    try {
      body.resize(*announced);
    } catch (const std::bad_alloc&) {  // the buffer grows as the body arrives instead
    }
  }
  size_t filled = 0;
  bool complete = false;
  for (;;) {
    DWORD available = 0;
    // A failure here is a broken connection, not the end of the body.
    if (!api.queryDataAvailable(request, &available)) break;
    if (available < 1) {
      complete = true;
      break;
    }
    // More than announced arrives, or nothing was: the buffer grows, but never past the limit.
    if (filled == body.size() && !Grow(body, filled, limit)) break;
    const auto wanted = static_cast<DWORD>(std::min<size_t>(available, body.size() - filled));
    DWORD read = 0;
    if (!api.readData(request, body.data() + filled, wanted, &read)) break;
    if (read == 0) {  // nothing more came although something was announced
      complete = true;
      break;
    }
    filled += std::min<size_t>(read, wanted);
  }
  body.resize(filled);
  // A body far shorter than its announced length does not keep the whole buffer.
  if (body.capacity() / 2 > filled) body.shrink_to_fit();
  return complete;
}

// The size of the buffer a body sent in pieces goes through: big enough that the writes are few
// (under Wine each one is a round trip to the Wine server), small enough to stay in the cache and
// inside the heap's own blocks, which it reuses, rather than a fresh mapping of its own.
constexpr size_t kPieceBufferSize = size_t{256} << 10;

// Sends the request with a body made piece by piece: the announced length first, then each
// piece written as it is made. False when a step fails or the pieces end early.
bool SendInPieces(const WinHttpApi& api, HINTERNET request, const BodyPieces& pieces) {
  if constexpr (sizeof(size_t) > sizeof(DWORD)) {
    if (pieces.length > MAXDWORD) return false;  // WinHttp counts the body in 32 bits
  }
  const auto length = static_cast<DWORD>(pieces.length);
  if (!api.sendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                       length, 0)) {
    return false;
  }
  ByteBuffer buffer(std::min(kPieceBufferSize, pieces.length), '\0');
  size_t sent = 0;
  while (sent < pieces.length) {
    const size_t room = std::min(buffer.size(), pieces.length - sent);
    const size_t made = std::min(room, pieces.next(buffer.data(), room));
    if (made == 0) return false;
    DWORD written = 0;
    if (!api.writeData(request, buffer.data(), static_cast<DWORD>(made), &written) ||
        written != made) {
      return false;
    }
    sent += made;
  }
  return true;
}

// The raw header block of the response: the size first, then the block itself.
bool QueryRawHeaders(const WinHttpApi& api, HINTERNET request, Text& headers) {
  DWORD size = 0;
  // Fails with ERROR_INSUFFICIENT_BUFFER and reports the size in bytes; nothing else is known.
  (void)api.queryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                         WINHTTP_NO_OUTPUT_BUFFER, &size, WINHTTP_NO_HEADER_INDEX);
  std::u16string buffer((size + 1) / 2, u'\0');
  if (!api.queryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                        buffer.empty() ? nullptr : buffer.data(), &size, WINHTTP_NO_HEADER_INDEX)) {
    return false;
  }
  headers = Utf16ToGbk(buffer);
  return true;
}

// The request's steps; the response's parts are set as each step produces them.
void PerformRequest(const HttpRequest& r, std::string_view cookiesReceivedBefore,
                    HttpResponse& out) {
  const WinHttpApi& api = CurrentWinHttpApi();
  std::optional<Text>& statusText = out.status;

  // Handles are opened in this order and closed in the reverse one, on every way out.
  InternetHandle session, connection, request;

  // A step that fails (other than a request option): the message, the window's pending events,
  // then the handles opened so far are closed.
  auto fail = [&](std::string_view message) {
    statusText = Text(message);
    ProcessPendingEvents();
  };
  // A request option that cannot be set: the message, and every handle closed at once.
  auto failOption = [&](std::string_view message) { statusText = Text(message); };

  if (!api.checkPlatform()) return fail(kNoWinHttp);

  UrlParts url;
  if (!CrackUrl(api, TextToUtf16(r.url), url)) return fail(kBadUrl);

  const ProxyChoice proxy = ChooseProxy(r.proxyAddress, url.secure);
  const std::u16string proxyName = TextToUtf16(proxy.proxyName);
  session = InternetHandle(
      api.open(nullptr, proxy.accessType, WideOrNull(proxyName), WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return fail(kNoSession);

  const int timeout = TimeoutMilliseconds(r.timeoutSeconds);
  if (!api.setTimeouts(session.get(), timeout, timeout, timeout, timeout)) {
    return fail(kNoTimeouts);
  }

  connection =
      InternetHandle(api.connect(session.get(), Wide(TextToUtf16(url.hostName)), url.port, 0));
  if (!connection) return fail(kNoConnection);

  const std::u16string verb = TextToUtf16(VerbName(r.verb));
  request = InternetHandle(api.openRequest(
      connection.get(), Wide(verb), Wide(url.objectName), nullptr, WINHTTP_NO_REFERER,
      WINHTTP_DEFAULT_ACCEPT_TYPES, url.secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) return fail(kNoRequest);

  auto setCredentials = [&](DWORD target, std::string_view user, std::string_view password) {
    const std::u16string wideUser = TextToUtf16(user);
    const std::u16string widePassword = TextToUtf16(password);
    return api.setCredentials(request.get(), target, WINHTTP_AUTH_SCHEME_BASIC, Wide(wideUser),
                              Wide(widePassword), nullptr);
  };
  if (!AsText(r.serverUser).empty() && !AsText(r.serverPassword).empty() &&
      !setCredentials(WINHTTP_AUTH_TARGET_SERVER, r.serverUser, r.serverPassword)) {
    return failOption(kNoCredentials);
  }
  if (!AsText(r.proxyUser).empty() && !AsText(r.proxyPassword).empty() &&
      !setCredentials(WINHTTP_AUTH_TARGET_PROXY, r.proxyUser, r.proxyPassword)) {
    return failOption(kNoCredentials);
  }

  // Certificate errors are never ignored: WinHttp verifies the server's certificate chain, its
  // dates and its host name, and a request to a server that fails them does not get through.

  // Without cookies to send, WinHttp neither keeps nor sends cookies of its own. With cookies,
  // feature switch 1 is turned on instead (WinHttp's revocation check of server certificates).
  const std::string_view sendCookies = AsText(r.cookies);
  const bool cookieOptionSet =
      sendCookies.empty() ? SetDwordOption(api, request.get(), WINHTTP_OPTION_DISABLE_FEATURE,
                                           WINHTTP_DISABLE_COOKIES)
                          : SetDwordOption(api, request.get(), WINHTTP_OPTION_ENABLE_FEATURE, 1);
  if (!cookieOptionSet) return failOption(kNoCookieOption);

  if (r.noRedirect && !SetDwordOption(api, request.get(), WINHTTP_OPTION_DISABLE_FEATURE,
                                      WINHTTP_DISABLE_REDIRECTS)) {
    return failOption(kNoRedirectOption);
  }

  const std::u16string headerBlock = TextToUtf16(BuildRequestHeaders(
      r.extraHeaders, r.verb, sendCookies, r.completeHeaders, r.normaliseHeaderNames));
  if (!api.addRequestHeaders(request.get(), Wide(headerBlock),
                             static_cast<DWORD>(headerBlock.size()), WINHTTP_ADDREQ_FLAG_ADD)) {
    return fail(kNoHeaders);
  }

  if (r.bodyPieces) {
    if (!SendInPieces(api, request.get(), *r.bodyPieces)) return fail(kSendFailed);
  } else {
    const std::string_view body = r.body;
    if constexpr (sizeof(size_t) > sizeof(DWORD)) {
      if (body.size() > MAXDWORD) return fail(kSendFailed);  // WinHttp counts the body in 32 bits
    }
    const auto bodyLength = static_cast<DWORD>(body.size());
    if (!api.sendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                         body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body.data()),
                         bodyLength, bodyLength, 0)) {
      return fail(kSendFailed);
    }
  }

  if (!api.receiveResponse(request.get(), nullptr)) return fail(kNoResponse);

  // A HEAD answer announces the length of a body it does not carry.
  ByteBuffer received;
  bool bodyComplete = ReadBody(
      api, request.get(),
      r.verb == HttpVerb::kHead ? std::nullopt : AnnouncedLength(api, request.get()), received);
  if (!bodyComplete) statusText = Text(kReadFailed);

  Text headers;
  if (!QueryRawHeaders(api, request.get(), headers)) {
    ProcessPendingEvents();
    return;
  }
  if (bodyComplete &&
      BodyFallsShortOfItsLength(headers, received.size(), r.verb == HttpVerb::kHead)) {
    bodyComplete = false;
    statusText = Text(kReadFailed);
  }
  // A body that broke off keeps its read failure in the status: the caller must not take the
  // part for the whole.
  if (bodyComplete) statusText = StatusFromResponseHeaders(headers);
  Text cookies(cookiesReceivedBefore);
  // A header value never holds a line feed: the location stays this when the response has no
  // Location line.
  Text location = "\n";
  ReadResponseLines(headers, cookies, location);
  if (r.mergeCookies && !sendCookies.empty()) {
    // The merge is what the sent cookies become as well.
    Text sent(sendCookies);
    cookies = MergeCookies(sent, cookies);
    out.cookiesSent = std::move(sent);
  }
  out.headers = std::move(headers);
  out.cookiesReceived = std::move(cookies);
  if (location != "\n") out.location = std::move(location);
  // The text takes the body's buffer unless the caller keeps the bytes as well.
  if (!r.keepBodyBytes) {
    if (bodyComplete) out.text = TakeResponseText(std::move(received));
  } else {
    if (bodyComplete) out.text = DecodeResponseText(received.view());
    out.bytes = std::move(received);
  }
  ProcessPendingEvents();
}

}  // namespace

HttpResponse SendHttpRequest(const HttpRequest& request, std::string_view cookiesReceivedBefore) {
  HttpResponse response;
  try {
    PerformRequest(request, cookiesReceivedBefore, response);
  } catch (const std::bad_alloc&) {
    // Copies of a very large body that find no room end the request like a failed read; the
    // handles are closed on the way out all the same.
    response.status = Text(kReadFailed);
    response.text.clear();
  }
  return response;
}

Text WebRequest(const WebRequestParameters& p) {
  const HttpRequest request{
      .url = p.url,
      .verb = VerbOfMethod(p.method),
      .body = !p.bodyBytes.empty() ? p.bodyBytes : AsLongText(p.bodyText),
      .cookies = p.sendCookies ? std::string_view(*p.sendCookies) : std::string_view(),
      .extraHeaders = p.extraHeaders,
      .noRedirect = p.noRedirect,
      .serverUser = p.serverUser,
      .serverPassword = p.serverPassword,
      .proxyAddress = p.proxyAddress,
      .proxyUser = p.proxyUser,
      .proxyPassword = p.proxyPassword,
      .timeoutSeconds = p.timeoutSeconds,
      .mergeCookies = p.mergeCookies,
      .completeHeaders = p.completeHeaders,
      .normaliseHeaderNames = p.normaliseHeaderNames,
      .keepBodyBytes = p.responseBytes != nullptr};
  HttpResponse response = SendHttpRequest(
      request, p.receivedCookies ? std::string_view(*p.receivedCookies) : std::string_view());
  // The caller's variables are written where the request wrote them, and only there.
  if (p.statusText && response.status) *p.statusText = std::move(*response.status);
  if (p.responseHeaders && response.headers) *p.responseHeaders = std::move(*response.headers);
  if (p.receivedCookies && response.cookiesReceived) {
    *p.receivedCookies = std::move(*response.cookiesReceived);
  }
  if (p.redirectLocation && response.location) *p.redirectLocation = std::move(*response.location);
  if (p.sendCookies && response.cookiesSent) *p.sendCookies = std::move(*response.cookiesSent);
  if (p.responseBytes && response.bytes) *p.responseBytes = std::move(*response.bytes);
  return std::move(response.text);
}

}  // namespace lumenta
