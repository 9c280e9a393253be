#include "tests/http/test_servers_win.h"

#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "base/text_encoders.h"
#include "tests/http/wine_paths_win.h"

namespace lumenta::testing_support {
namespace {

constexpr size_t kPatternPeriod = 251;

std::string StateFile() {
  if (const char* dir = std::getenv("LUMENTA_HTTP_SERVERS")) {
    return std::string(dir) + "/servers.state";
  }
  return LUMENTA_BINARY_DIR "/tests/http/servers/servers.state";
}

void StartWinsock() {
  static const bool started = [] {
    WSADATA wsa;
    return WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
  }();
  if (!started) throw std::runtime_error("no Winsock");
}

// A connection to the control port that sends one command and reads the reply to the end.
std::string Exchange(int port, const std::string& message) {
  StartWinsock();
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(port));
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    closesocket(s);
    throw std::runtime_error("the control port does not answer");
  }
  for (size_t sent = 0; sent < message.size();) {
    const int n = send(s, message.data() + sent, static_cast<int>(message.size() - sent), 0);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  shutdown(s, SD_SEND);
  std::string reply;
  char buffer[65536];
  for (;;) {
    const int n = recv(s, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    reply.append(buffer, static_cast<size_t>(n));
  }
  closesocket(s);
  return reply;
}

}  // namespace

AnswerScript& AnswerScript::Status(std::string_view statusLine) {
  text_ += "status " + std::string(statusLine) + "\n";
  return *this;
}
AnswerScript& AnswerScript::Header(std::string_view line) {
  text_ += "header " + std::string(line) + "\n";
  return *this;
}
AnswerScript& AnswerScript::Body(std::string_view bytes) {
  text_ += "body " + Base64Encode(bytes) + "\n";
  return *this;
}
AnswerScript& AnswerScript::GeneratedBody(size_t size) {
  text_ += "body-size " + std::to_string(size) + "\n";
  return *this;
}
AnswerScript& AnswerScript::GeneratedText(size_t size) {
  text_ += "body-text " + std::to_string(size) + "\n";
  return *this;
}
AnswerScript& AnswerScript::NoLength() {
  text_ += "length none\n";
  return *this;
}
AnswerScript& AnswerScript::Length(size_t announced) {
  text_ += "length " + std::to_string(announced) + "\n";
  return *this;
}
AnswerScript& AnswerScript::Chunked(size_t chunkSize) {
  text_ += "chunked " + std::to_string(chunkSize) + "\n";
  return *this;
}
AnswerScript& AnswerScript::DropAfter(size_t bodyBytes) {
  text_ += "drop-after " + std::to_string(bodyBytes) + "\n";
  return *this;
}
AnswerScript& AnswerScript::Reset() {
  text_ += "reset\n";
  return *this;
}
AnswerScript& AnswerScript::Silence(double seconds) {
  text_ += "silence " + std::to_string(seconds) + "\n";
  return *this;
}
AnswerScript& AnswerScript::Close() {
  text_ += "close\n";
  return *this;
}
AnswerScript& AnswerScript::ResetBeforeAnswer() {
  text_ += "reset-before-answer\n";
  return *this;
}
AnswerScript& AnswerScript::Raw(std::string_view bytes) {
  text_ += "raw " + Base64Encode(bytes) + "\n";
  return *this;
}
AnswerScript& AnswerScript::Drip(size_t pieceBytes, double secondsBetween) {
  text_ += "drip " + std::to_string(pieceBytes) + " " + std::to_string(secondsBetween) + "\n";
  return *this;
}
AnswerScript& AnswerScript::LongHeader(size_t bytes) {
  text_ += "long-header " + std::to_string(bytes) + "\n";
  return *this;
}
AnswerScript& AnswerScript::SetCookies(size_t count) {
  text_ += "set-cookies " + std::to_string(count) + "\n";
  return *this;
}
AnswerScript& AnswerScript::BadChunk(std::string_view sizeLine) {
  text_ += "bad-chunk " + std::string(sizeLine) + "\n";
  return *this;
}

int UnusedLoopbackPort() {
  StartWinsock();
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  closesocket(s);
  return ntohs(address.sin_port);
}

bool IsGeneratedBody(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) != i % kPatternPeriod) return false;
  }
  return true;
}

LoopbackServers& LoopbackServers::Get() {
  static LoopbackServers servers;
  return servers;
}

LoopbackServers::LoopbackServers() {
  std::ifstream in(WinePath(StateFile()).c_str());
  std::string line;
  while (std::getline(in, line)) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    if (key == "pid" || key == "ca_der") continue;
    ports_.emplace_back(key, std::atoi(line.c_str() + equals + 1));
  }
}

int LoopbackServers::Port(std::string_view listener) const {
  for (const auto& [name, port] : ports_) {
    if (name == listener) return port;
  }
  throw std::runtime_error("no listener " + std::string(listener));
}

std::string LoopbackServers::Url(std::string_view listener, std::string_view pathAndQuery) const {
  const bool secure = listener.substr(0, 5) == "https";
  return std::string(secure ? "https" : "http") + "://localhost:" + std::to_string(Port(listener)) +
         std::string(pathAndQuery);
}

std::string LoopbackServers::Command(std::string_view command, std::string_view payload,
                                     bool withPayload) {
  std::string message(command);
  if (withPayload) message += " " + std::to_string(payload.size());
  message += "\n";
  message += payload;
  const std::string reply = Exchange(Port("control"), message);
  if (reply.rfind("OK", 0) != 0) throw std::runtime_error("control: " + reply);
  return reply;
}

void LoopbackServers::Reset() { Command("RESET", {}, false); }

void LoopbackServers::Answer(const AnswerScript& script) { Command("ANSWER", script.text(), true); }

void LoopbackServers::DefaultAnswer(const AnswerScript& script) {
  Command("DEFAULT", script.text(), true);
}

void LoopbackServers::DemandProxyAuthorization(std::string_view value) {
  Command("PROXY-AUTH", value, true);
}

std::vector<RecordedRequest> LoopbackServers::Requests() {
  const std::string reply = Command("REQUESTS", {}, false);
  std::vector<RecordedRequest> out;
  size_t at = reply.find('\n') + 1;
  const size_t count = std::strtoul(reply.c_str() + 3, nullptr, 10);
  for (size_t i = 0; i < count; ++i) {
    const size_t end = reply.find('\n', at);
    char listener[64] = {};
    unsigned long a = 0, b = 0, c = 0;
    std::sscanf(reply.substr(at, end - at).c_str(), "%63s %lu %lu %lu", listener, &a, &b, &c);
    at = end + 1;
    RecordedRequest request;
    request.listener = listener;
    request.line = reply.substr(at, a);
    request.headers = reply.substr(at + a, b);
    request.body = reply.substr(at + a + b, c);
    at += a + b + c;
    out.push_back(std::move(request));
  }
  return out;
}

}  // namespace lumenta::testing_support
