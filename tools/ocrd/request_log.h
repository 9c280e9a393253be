#pragma once
// One line per request on standard error: when, who, what, the outcome and how long it took.
// Only the path is written, never the query, which holds the keys or the access token.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

namespace lumenta::ocrd {

struct LogEntry {
  std::string remoteAddress;
  std::string method;
  std::string path;
  int status = 0;
  std::string outcome;          // "token issued", "2 lines", "error 216201", ...
  long long milliseconds = -1;  // -1: not measured (the request never reached a handler)
};

[[nodiscard]] std::string FormatLogLine(const LogEntry& entry,
                                        std::chrono::system_clock::time_point when);

class RequestLog {
 public:
  explicit RequestLog(std::FILE* out) : out_(out) {}
  void Write(const LogEntry& entry);
  void Note(const std::string& line);

 private:
  std::FILE* out_;
  std::mutex mutex_;
};

}  // namespace lumenta::ocrd
