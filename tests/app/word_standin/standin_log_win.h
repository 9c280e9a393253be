#pragma once
// The stand-in's journal: one UTF-8 line per event, appended to the file named by
// LUMENTA_WORD_STANDIN_LOG (nothing is written while it is unset). Each line reaches the file
// at once, so a test can read it while the stand-in is still loaded.
#include <string>
#include <string_view>

namespace lumenta::standin {

void LogLine(std::string_view line);

// Environment switches of the stand-in ("1" means on).
bool Switch(const wchar_t* variable);

std::string ToUtf8(std::wstring_view text);

// A text in double quotes for a journal line, UTF-8, with line breaks, tabs and other control
// characters written as escapes (\r, \n, \t, \a, \xNN) so that every entry stays on one line.
std::string Quote(std::wstring_view text);

}  // namespace lumenta::standin
