#pragma once
// A loopback HTTP server for Windows tests: it records every request byte for byte and answers
// each one from a script. Runs on its own thread in the test process.
#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumenta::testing {

struct RecordedRequest {
  std::string raw;   // head and body exactly as received
  std::string head;  // request line and header lines, up to the blank line
  std::string body;
  std::string method;
  std::string target;                               // path and query
  std::chrono::steady_clock::time_point completed;  // when its last byte arrived
};

struct ScriptedReply {
  std::string body;
  std::string statusLine = "HTTP/1.1 200 OK";
  std::string contentType = "application/json;charset=utf-8";
};

class ScriptedServer {
 public:
  using Script = std::function<ScriptedReply(const RecordedRequest&)>;

  explicit ScriptedServer(Script script);
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  int port() const { return port_; }
  std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }
  std::vector<RecordedRequest> requests() const;
  void ClearRequests();

 private:
  void Serve();
  void Converse(SOCKET client);
  bool Receive(SOCKET client, std::string& pending);

  Script script_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  std::vector<std::thread> conversations_;  // touched by the accepting thread only
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
};

// A script that answers the token path with a token and the recognition path with `answer`.
ScriptedServer::Script TokenThenAnswer(std::string token, std::string answer);

}  // namespace lumenta::testing
