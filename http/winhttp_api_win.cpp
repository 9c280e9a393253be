#include "http/winhttp_api_win.h"

#include "http/request_settings.h"

namespace lumenta {
namespace {
WinHttpApi g_api;
size_t g_bodyLimit = kResponseBodyLimit;
}  // namespace

const WinHttpApi& CurrentWinHttpApi() { return g_api; }

size_t CurrentResponseBodyLimit() { return g_bodyLimit; }

ScopedWinHttpApi::ScopedWinHttpApi(const WinHttpApi& api)
    : previousApi_(g_api), previousLimit_(g_bodyLimit) {
  g_api = api;
}

ScopedWinHttpApi::ScopedWinHttpApi(const WinHttpApi& api, size_t responseBodyLimit)
    : ScopedWinHttpApi(api) {
  g_bodyLimit = responseBodyLimit;
}

ScopedWinHttpApi::~ScopedWinHttpApi() {
  g_api = previousApi_;
  g_bodyLimit = previousLimit_;
}

}  // namespace lumenta
