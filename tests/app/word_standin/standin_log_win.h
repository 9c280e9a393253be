#pragma once
// The stand-in's journal: one UTF-8 line per event, appended to the file named by
// LUMENTA_WORD_STANDIN_LOG (nothing is written while it is unset). The variable is read when an
// Application is created and when the journal is flushed. Lines are collected and written in
// blocks; the tests flush them (an export of the DLL) before reading the file.
#include <string>
#include <string_view>

namespace lumenta::standin {

void LogLine(std::string_view line);
void FlushLog();
// Reads LUMENTA_WORD_STANDIN_LOG again, moving to another file when it changed.
void ReloadLogSettings();

// Environment switches of the stand-in ("1" means on).
bool Switch(const wchar_t* variable);

std::string ToUtf8(std::wstring_view text);

// A text in double quotes for a journal line, UTF-8, with line breaks, tabs and other control
// characters written as escapes (\r, \n, \t, \a, \xNN) so that every entry stays on one line.
std::string Quote(std::wstring_view text);

}  // namespace lumenta::standin
