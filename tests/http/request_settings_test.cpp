// Verb, time-out and proxy a web request derives from its parameters.
#include "http/request_settings.h"

#include <gtest/gtest.h>

#include <climits>

namespace lumenta {
namespace {

TEST(VerbForMethod, MapsTheEightNumbersAndSendsGetForAnyOther) {
  const char* verbs[] = {"GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE", "CONNECT"};
  for (int method = 0; method < 8; ++method) EXPECT_EQ(VerbForMethod(method), verbs[method]);
  for (int method : {8, -1, 100, INT_MIN, INT_MAX}) EXPECT_EQ(VerbForMethod(method), "GET");
}

TEST(TimeoutMilliseconds, SelectsThirtySecondsForZeroAndLess) {
  EXPECT_EQ(TimeoutMilliseconds(0), 30000);
  EXPECT_EQ(TimeoutMilliseconds(-3), 30000);
  EXPECT_EQ(TimeoutMilliseconds(INT_MIN), 30000);
  EXPECT_EQ(TimeoutMilliseconds(1), 1000);
  EXPECT_EQ(TimeoutMilliseconds(5), 5000);
  EXPECT_EQ(TimeoutMilliseconds(2147483), 2147483000);
}

TEST(TimeoutMilliseconds, StopsAtTheLargest32BitValueInsteadOfWrappingRound) {
  EXPECT_EQ(TimeoutMilliseconds(2147484), INT_MAX);
  EXPECT_EQ(TimeoutMilliseconds(INT_MAX), INT_MAX);
}

TEST(ChooseProxy, UsesNoProxyForAnEmptyAddress) {
  for (bool secure : {false, true}) {
    const ProxyChoice choice = ChooseProxy("", secure);
    EXPECT_EQ(choice.accessType, kAccessTypeNoProxy);
    EXPECT_EQ(choice.proxyName, "");
  }
}

TEST(ChooseProxy, NamesThePlainSchemeForAPlainUrlOnly) {
  const ProxyChoice plain = ChooseProxy("proxy.local:8080", false);
  EXPECT_EQ(plain.accessType, kAccessTypeNamedProxy);
  EXPECT_EQ(plain.proxyName, "http=proxy.local:8080");
  const ProxyChoice secure = ChooseProxy("proxy.local:8080", true);
  EXPECT_EQ(secure.accessType, kAccessTypeNamedProxy);
  EXPECT_EQ(secure.proxyName, "proxy.local:8080");
}

}  // namespace
}  // namespace lumenta
