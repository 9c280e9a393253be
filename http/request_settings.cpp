#include "http/request_settings.h"

#include <array>
#include <climits>

namespace lumenta {

std::string_view VerbForMethod(int method) {
  static constexpr std::array<std::string_view, 8> kVerbs = {
      "GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE", "CONNECT"};
  if (method < 0 || method >= static_cast<int>(kVerbs.size())) return kVerbs[0];
  return kVerbs[static_cast<size_t>(method)];
}

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
