#pragma once
// The WinHttp functions a web request calls, as one table. The program always runs with the
// system's functions; a test puts its own in front of them for the length of a scope, to see
// the values passed (Wine's WinHttp does not apply the receive time-out, so the time-outs are
// checked where they are handed over) or to make one step fail.
#include <windows.h>
#include <winhttp.h>

#include <cstddef>

namespace lumenta {

struct WinHttpApi {
  decltype(&::WinHttpCheckPlatform) checkPlatform = &::WinHttpCheckPlatform;
  decltype(&::WinHttpCrackUrl) crackUrl = &::WinHttpCrackUrl;
  decltype(&::WinHttpOpen) open = &::WinHttpOpen;
  decltype(&::WinHttpSetTimeouts) setTimeouts = &::WinHttpSetTimeouts;
  decltype(&::WinHttpConnect) connect = &::WinHttpConnect;
  decltype(&::WinHttpOpenRequest) openRequest = &::WinHttpOpenRequest;
  decltype(&::WinHttpSetCredentials) setCredentials = &::WinHttpSetCredentials;
  decltype(&::WinHttpSetOption) setOption = &::WinHttpSetOption;
  decltype(&::WinHttpAddRequestHeaders) addRequestHeaders = &::WinHttpAddRequestHeaders;
  decltype(&::WinHttpSendRequest) sendRequest = &::WinHttpSendRequest;
  decltype(&::WinHttpWriteData) writeData = &::WinHttpWriteData;
  decltype(&::WinHttpReceiveResponse) receiveResponse = &::WinHttpReceiveResponse;
  decltype(&::WinHttpQueryDataAvailable) queryDataAvailable = &::WinHttpQueryDataAvailable;
  decltype(&::WinHttpReadData) readData = &::WinHttpReadData;
  decltype(&::WinHttpQueryHeaders) queryHeaders = &::WinHttpQueryHeaders;
  decltype(&::WinHttpCloseHandle) closeHandle = &::WinHttpCloseHandle;
};

// The table and the body limit web requests use now.
[[nodiscard]] const WinHttpApi& CurrentWinHttpApi();
[[nodiscard]] size_t CurrentResponseBodyLimit();

// Replaces the table (and, when given, the body limit) until the end of the scope.
class ScopedWinHttpApi {
 public:
  explicit ScopedWinHttpApi(const WinHttpApi& api);
  ScopedWinHttpApi(const WinHttpApi& api, size_t responseBodyLimit);
  ~ScopedWinHttpApi();
  ScopedWinHttpApi(const ScopedWinHttpApi&) = delete;
  ScopedWinHttpApi& operator=(const ScopedWinHttpApi&) = delete;

 private:
  WinHttpApi previousApi_;
  size_t previousLimit_;
};

}  // namespace lumenta
