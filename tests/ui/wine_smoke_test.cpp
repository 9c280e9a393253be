// Proves the Windows test harness is real: these run in the win64 build under wine64 with a
// private prefix and display. A window shows a Chinese caption, and WinHttp fetches a page from
// a loopback server that the test itself runs.
#include <gtest/gtest.h>
#include <windows.h>
#include <winhttp.h>
#include <winsock2.h>

#include <string>
#include <thread>

#include "base/text_encoders.h"

namespace lumenta {
namespace {

TEST(WineSmoke, AWindowKeepsItsChineseCaption) {
  const std::u16string caption = TextToUtf16("\xCA\xB6\xB1\xF0 Lumenta");  // 识别 Lumenta
  HWND window = CreateWindowExW(0, L"STATIC", reinterpret_cast<const wchar_t*>(caption.c_str()),
                                WS_OVERLAPPEDWINDOW, 10, 10, 300, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  wchar_t back[64] = {};
  GetWindowTextW(window, back, 64);
  EXPECT_EQ(Utf16ToGbk(reinterpret_cast<const char16_t*>(back)), "\xCA\xB6\xB1\xF0 Lumenta");
  EXPECT_EQ(back[0], 0x8BC6);  // 识 as a UTF-16 unit
  DestroyWindow(window);
}

// A one-shot HTTP server on 127.0.0.1: answers the first request with a fixed body.
class OneShotServer {
 public:
  OneShotServer() {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 1);
    int length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~OneShotServer() {
    closesocket(listener_);
    thread_.join();
    WSACleanup();
  }
  int port() const { return port_; }
  const std::string& request() const { return request_; }

 private:
  void Serve() {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    char buffer[4096];
    while (request_.find("\r\n\r\n") == std::string::npos) {
      const int n = recv(client, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request_.append(buffer, static_cast<size_t>(n));
    }
    const std::string answer =
        "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 11\r\n"
        "Connection: close\r\n\r\nhello wine!";
    send(client, answer.data(), static_cast<int>(answer.size()), 0);
    shutdown(client, SD_SEND);
    closesocket(client);
  }

  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::string request_;
  std::thread thread_;
};

TEST(WineSmoke, WinHttpFetchesAPageFromALoopbackServer) {
  OneShotServer server;
  HINTERNET session = WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0);
  ASSERT_NE(session, nullptr);
  HINTERNET connection =
      WinHttpConnect(session, L"127.0.0.1", static_cast<INTERNET_PORT>(server.port()), 0);
  ASSERT_NE(connection, nullptr);
  HINTERNET request = WinHttpOpenRequest(connection, L"GET", L"/smoke?x=1", nullptr,
                                         WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0);
  ASSERT_NE(request, nullptr);
  ASSERT_TRUE(WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                                 0, 0, 0));
  ASSERT_TRUE(WinHttpReceiveResponse(request, nullptr));
  std::string body;
  DWORD available = 0;
  while (WinHttpQueryDataAvailable(request, &available) && available > 0) {
    std::string chunk(available, '\0');
    DWORD read = 0;
    ASSERT_TRUE(WinHttpReadData(request, chunk.data(), available, &read));
    body.append(chunk, 0, read);
  }
  WinHttpCloseHandle(request);
  WinHttpCloseHandle(connection);
  WinHttpCloseHandle(session);
  EXPECT_EQ(body, "hello wine!");
  EXPECT_EQ(server.request().rfind("GET /smoke?x=1 HTTP/1.1\r\n", 0), 0u) << server.request();
}

}  // namespace
}  // namespace lumenta
