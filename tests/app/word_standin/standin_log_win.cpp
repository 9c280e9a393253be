#include "tests/app/word_standin/standin_log_win.h"

#include <windows.h>

#include "tests/app/word_standin/standin_identity.h"

namespace lumenta::standin {
namespace {

// The open log, the path it was opened for, and lines not yet written: a test may point the
// variable elsewhere between its cases, and a write per line would make long searches slow.
struct OpenLog {
  std::wstring path;
  HANDLE file = INVALID_HANDLE_VALUE;
  std::string pending;
};
OpenLog g_log;

constexpr size_t kFlushSize = 1 << 20;

std::wstring Variable(const wchar_t* name) {
  wchar_t buffer[1024];
  const DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
  return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), n, out.data(), needed, nullptr, nullptr);
  return out;
}

std::string Quote(std::wstring_view text) {
  std::string quoted = "\"";
  size_t run = 0;  // start of the current run of printable characters
  auto flush = [&](size_t end) { quoted += ToUtf8(text.substr(run, end - run)); };
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c >= 0x20 && c != 0x7F) continue;
    flush(i);
    run = i + 1;
    switch (c) {
      case L'\r':
        quoted += "\\r";
        break;
      case L'\n':
        quoted += "\\n";
        break;
      case L'\t':
        quoted += "\\t";
        break;
      case L'\a':
        quoted += "\\a";
        break;
      default: {
        char escape[8];
        wsprintfA(escape, "\\x%02X", static_cast<unsigned>(c));
        quoted += escape;
      }
    }
  }
  flush(text.size());
  return quoted + "\"";
}

bool Switch(const wchar_t* variable) { return Variable(variable) == L"1"; }

void FlushLog() {
  if (g_log.file != INVALID_HANDLE_VALUE && !g_log.pending.empty()) {
    DWORD written = 0;
    WriteFile(g_log.file, g_log.pending.data(), static_cast<DWORD>(g_log.pending.size()), &written,
              nullptr);
  }
  g_log.pending.clear();
}

void ReloadLogSettings() {
  const std::wstring path = Variable(kLogVariable);
  if (path != g_log.path) {
    FlushLog();
    if (g_log.file != INVALID_HANDLE_VALUE) CloseHandle(g_log.file);
    g_log.file = INVALID_HANDLE_VALUE;
    g_log.path = path;
    if (!path.empty()) {
      g_log.file = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
  }
}

void LogLine(std::string_view line) {
  if (g_log.file == INVALID_HANDLE_VALUE) return;
  g_log.pending.append(line);
  g_log.pending += '\n';
  if (g_log.pending.size() >= kFlushSize) FlushLog();
}

}  // namespace lumenta::standin
