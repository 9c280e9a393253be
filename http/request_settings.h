#pragma once
// What a web request derives from its parameters before it talks to WinHttp: the verb, the
// time-out and the proxy, and the largest body it accepts.
#include <cstddef>
#include <string_view>

#include "base/text.h"

namespace lumenta {

// A body larger than this stops the reading as a read failure instead of exhausting memory.
inline constexpr size_t kResponseBodyLimit = size_t{256} << 20;

enum class HttpVerb { kGet, kPost, kHead, kPut, kOptions, kDelete, kTrace, kConnect };

// The verb's name on the wire.
[[nodiscard]] std::string_view VerbName(HttpVerb verb);

// The verb of a verb number, the program's described way of naming them (0 GET, 1 POST, 2 HEAD,
// 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT); any other number gives GET.
[[nodiscard]] HttpVerb VerbOfMethod(int method);

// The request verb of a verb number; numbers outside 0..7 give "GET".
[[nodiscard]] std::string_view VerbForMethod(int method);

// The one time-out used for all four WinHttp time-outs, in milliseconds: seconds x 1000, or
// 30000 for 0 and less. Seconds beyond what 32 bits of milliseconds hold are kept at the
// largest such value instead of wrapping round to a negative one.
[[nodiscard]] int TimeoutMilliseconds(int timeoutSeconds);

// WinHttp's access types, by value (this header does not include the Windows headers).
inline constexpr unsigned long kAccessTypeNoProxy = 1;
inline constexpr unsigned long kAccessTypeNamedProxy = 3;

struct ProxyChoice {
  unsigned long accessType;
  Text proxyName;  // empty with kAccessTypeNoProxy
};

// No proxy for an empty address; otherwise a named proxy: the address itself for a secure URL,
// "http=" and the address for a plain one (the plain URL's scheme names the proxy to use).
[[nodiscard]] ProxyChoice ChooseProxy(std::string_view proxyAddress, bool secure);

}  // namespace lumenta
