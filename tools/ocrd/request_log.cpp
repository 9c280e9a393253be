#include "tools/ocrd/request_log.h"

#include <cstdio>

namespace lumenta::ocrd {

std::string FormatLogLine(const LogEntry& entry, std::chrono::system_clock::time_point when) {
  // The calendar of the time's day and the time within it, in UTC, without the C library's
  // thread-unsafe or platform-specific conversions.
  const auto day = std::chrono::floor<std::chrono::days>(when);
  const std::chrono::year_month_day date(day);
  const std::chrono::hh_mm_ss time(std::chrono::floor<std::chrono::seconds>(when - day));
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
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
