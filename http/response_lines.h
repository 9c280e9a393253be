#pragma once
// What a web request reads out of the raw response header block: the status text, the cookies
// the server sets and the redirect target.
#include <string_view>

#include "base/text.h"

namespace lumenta {

// The status code and reason phrase: the header block from its 10th character up to the first
// CR LF after it ("HTTP/1.1 200 OK\r\n..." gives "200 OK"); empty when no CR LF follows.
[[nodiscard]] Text StatusFromResponseHeaders(std::string_view responseHeaders);

// Goes through the header lines in order: each Set-Cookie line appends its entry to
// `receivedCookies` (CollectResponseCookies), each line that begins with "Location: " (in any
// case) sets `redirectLocation` to the rest of the line, so the last one wins; the window's
// pending events run after every line. Finally the trailing cookie separator is removed.
void ReadResponseLines(std::string_view responseHeaders, Text& receivedCookies,
                       Text& redirectLocation);

// True when a body of `bodySize` bytes is shorter than the Content-Length the response
// announced: the connection broke off (WinHttp under Wine reports such an end as the end of the
// body). Answers that carry no body (to a HEAD request; status 1xx, 204, 304) and answers
// without a usable Content-Length, or with a Transfer-Encoding, announce nothing.
[[nodiscard]] bool BodyFallsShortOfItsLength(std::string_view responseHeaders, size_t bodySize,
                                             bool headRequest);

}  // namespace lumenta
