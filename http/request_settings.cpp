#include "http/request_settings.h"

#include <array>
#include <climits>

namespace lumenta {

namespace {

constexpr std::array<std::string_view, 8> kVerbs = {"GET",     "POST",   "HEAD",  "PUT",
                                                    "OPTIONS", "DELETE", "TRACE", "CONNECT"};

}  // namespace

std::string_view VerbName(HttpVerb verb) { return kVerbs[static_cast<size_t>(verb)]; }

HttpVerb VerbOfMethod(int method) {
  if (method < 0 || method >= static_cast<int>(kVerbs.size())) return HttpVerb::kGet;
  return static_cast<HttpVerb>(method);
}

std::string_view VerbForMethod(int method) { return VerbName(VerbOfMethod(method)); }

int TimeoutMilliseconds(int timeoutSeconds) {
  if (timeoutSeconds <= 0) return 30000;
  if (timeoutSeconds > INT_MAX / 1000) return INT_MAX;
  return timeoutSeconds * 1000;
}

ProxyChoice ChooseProxy(std::string_view proxyAddress, bool secure) {
  proxyAddress = AsText(proxyAddress);
  if (proxyAddress.empty()) return {kAccessTypeNoProxy, {}};
  if (secure) return {kAccessTypeNamedProxy, Text(proxyAddress)};
  return {kAccessTypeNamedProxy, "http=" + Text(proxyAddress)};
}

}  // namespace lumenta
