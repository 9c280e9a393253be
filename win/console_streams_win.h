#pragma once
// Standard output and error for a GUI-subsystem program run from a command line.
#include <string_view>

namespace lumenta::console {

// Writes UTF-8 text to standard output or standard error. The text goes to the handle the
// program inherited when there is one (a redirection, a pipe, or the terminal Wine hands over),
// as UTF-8 bytes; otherwise to the console of the process that started the program, or to a new
// console, as UTF-16 so that Chinese shows whatever the console's code page. False when the
// text could not be written.
bool WriteStandardOutput(std::string_view utf8);
bool WriteStandardError(std::string_view utf8);

}  // namespace lumenta::console
