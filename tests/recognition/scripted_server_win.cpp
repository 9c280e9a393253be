#include "scripted_server_win.h"

#include <ws2tcpip.h>

#include <cstdlib>

namespace lumenta::testing {
namespace {

// The value of header `name` in `head` (case-insensitive name), or empty.
std::string HeaderValue(const std::string& head, const std::string& name) {
  size_t at = head.find("\r\n");
  while (at != std::string::npos && at + 2 < head.size()) {
    const size_t start = at + 2;
    const size_t end = head.find("\r\n", start);
    const std::string line = head.substr(start, end - start);
    const size_t colon = line.find(':');
    if (colon == name.size() && _strnicmp(line.c_str(), name.c_str(), name.size()) == 0) {
      size_t value = colon + 1;
      while (value < line.size() && line[value] == ' ') ++value;
      return line.substr(value);
    }
    at = end;
  }
  return {};
}

}  // namespace

ScriptedServer::ScriptedServer(Script script) : script_(std::move(script)) {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener_, SOMAXCONN);
  int length = sizeof address;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

ScriptedServer::~ScriptedServer() {
  closesocket(listener_);
  thread_.join();
  // Connections a client keeps open (WinHttp pools them) end now: their threads look at this
  // between waits (a blocked recv is not woken by a shutdown under Wine).
  stopping_ = true;
  for (std::thread& conversation : conversations_) conversation.join();
  WSACleanup();
}

std::vector<RecordedRequest> ScriptedServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void ScriptedServer::ClearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

void ScriptedServer::Serve() {
  for (;;) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;  // the listener was closed
    // One thread per connection: a client may keep one open while it opens the next.
    conversations_.emplace_back([this, client] {
      Converse(client);
      closesocket(client);
    });
  }
}

// Waits for bytes from `client` and appends them; false when the connection ended or the server
// is stopping.
bool ScriptedServer::Receive(SOCKET client, std::string& pending) {
  char buffer[65536];
  for (;;) {
    if (stopping_) return false;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(client, &readable);
    timeval wait{0, 50000};
    const int ready = select(0, &readable, nullptr, nullptr, &wait);
    if (ready < 0) return false;
    if (ready == 0) continue;
    const int n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    pending.append(buffer, static_cast<size_t>(n));
    return true;
  }
}

// Reads requests on one connection (kept alive by the client) and answers each.
void ScriptedServer::Converse(SOCKET client) {
  std::string pending;
  for (;;) {
    size_t headEnd;
    while ((headEnd = pending.find("\r\n\r\n")) == std::string::npos) {
      if (!Receive(client, pending)) return;
    }
    RecordedRequest request;
    request.head = pending.substr(0, headEnd + 2);
    const size_t length =
        std::strtoull(HeaderValue(request.head, "Content-Length").c_str(), nullptr, 10);
    const size_t total = headEnd + 4 + length;
    while (pending.size() < total) {
      if (!Receive(client, pending)) return;
    }
    request.completed = std::chrono::steady_clock::now();
    request.raw = pending.substr(0, total);
    request.body = pending.substr(headEnd + 4, length);
    pending.erase(0, total);
    const size_t space = request.head.find(' ');
    request.method = request.head.substr(0, space);
    request.target = request.head.substr(space + 1, request.head.find(' ', space + 1) - space - 1);
    const ScriptedReply reply = script_(request);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(std::move(request));
    }
    const std::string answer = reply.statusLine + "\r\nContent-Type: " + reply.contentType +
                               "\r\nContent-Length: " + std::to_string(reply.body.size()) +
                               "\r\n\r\n" + reply.body;
    if (send(client, answer.data(), static_cast<int>(answer.size()), 0) < 0) return;
  }
}

ScriptedServer::Script TokenThenAnswer(std::string token, std::string answer) {
  return [token = std::move(token), answer = std::move(answer)](const RecordedRequest& request) {
    if (request.target.rfind("/oauth/2.0/token?", 0) == 0) {
      return ScriptedReply{R"({"refresh_token":"r","expires_in":2592000,"session_key":"k",)"
                           R"("access_token":")" +
                           token + R"(","scope":"public","session_secret":"s"})"};
    }
    return ScriptedReply{answer};
  };
}

}  // namespace lumenta::testing
