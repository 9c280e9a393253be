#include "tools/ocrd/request_log.h"

#include <ctime>

namespace lumenta::ocrd {

std::string FormatLogLine(const LogEntry& entry, std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
  std::string line = stamp;
  line += ' ';
  line += entry.remoteAddress.empty() ? "-" : entry.remoteAddress;
  line += ' ';
  line += entry.method.empty() ? "-" : entry.method;
  line += ' ';
  // A path is the client's text: keep control characters out of the log.
  for (const char c : entry.path.empty() ? std::string("-") : entry.path) {
    line += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
  }
  line += ' ';
  line += std::to_string(entry.status);
  if (!entry.outcome.empty()) {
    line += ' ';
    line += entry.outcome;
  }
  if (entry.milliseconds >= 0) {
    line += ' ';
    line += std::to_string(entry.milliseconds);
    line += " ms";
  }
  return line;
}

void RequestLog::Write(const LogEntry& entry) {
  Note(FormatLogLine(entry, std::chrono::system_clock::now()));
}

void RequestLog::Note(const std::string& line) {
  std::lock_guard lock(mutex_);
  std::fputs(line.c_str(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
}

}  // namespace lumenta::ocrd
