#pragma once
// The request header block of a web request: the caller's lines, the browser-like default lines
// the caller did not give, re-cased header names, no explicit keep-alive line, and the Cookie
// line. Header lines are separated by CR LF.
#include <string_view>

#include "base/text.h"
#include "http/request_settings.h"

namespace lumenta {

// The header block WebRequest hands to WinHttp.
//   extraHeaders          the caller's header lines, separated by CR LF
//   method                the verb number (1 is POST, which alone gets a default Content-Type)
//   sendCookies           name=value pairs separated by "; ", or a whole Cookie line
//   completeHeaders       add the default lines whose names the block does not hold yet
//   normaliseHeaderNames  re-case the header names (see NormaliseHeaderNames)
[[nodiscard]] Text BuildRequestHeaders(std::string_view extraHeaders, int method,
                                       std::string_view sendCookies, bool completeHeaders,
                                       bool normaliseHeaderNames);
// The same for a verb (POST alone gets a default Content-Type).
[[nodiscard]] Text BuildRequestHeaders(std::string_view extraHeaders, HttpVerb verb,
                                       std::string_view sendCookies, bool completeHeaders,
                                       bool normaliseHeaderNames);

// Drops every line without a colon and upper-cases the first character of each header name and
// every character right after a "-" in it; the rest of each line stays as it was. The result has
// no final CR LF.
[[nodiscard]] Text NormaliseHeaderNames(std::string_view block);

// The first character upper-cased (ASCII letters only), the rest unchanged.
[[nodiscard]] Text CapitaliseFirst(std::string_view text);

// The value of the first line that begins with `name` (exact case): what follows the last
// "`name`: " in that line. Empty when no line begins with the name.
[[nodiscard]] Text HeaderValue(std::string_view block, std::string_view name);

}  // namespace lumenta
