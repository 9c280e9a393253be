#pragma once
// Running a program as a script would: a child process with its standard output and error
// collected through pipes, waited for to its end.
#include <windows.h>

#include <string>

namespace lumenta::testing {

struct ProgramRun {
  DWORD exitCode = 0xFFFFFFFF;
  std::string out;
  std::string err;
};

[[nodiscard]] inline std::wstring Quoted(const std::wstring& argument) {
  return L"\"" + argument + L"\"";
}

// Runs `program` with `arguments` (already quoted) in `folder` (empty: this one). When
// `started` is given, it is called with the process handle as soon as the program runs.
[[nodiscard]] ProgramRun RunProgram(const std::wstring& program, const std::wstring& arguments,
                                    const std::wstring& folder = L"",
                                    void (*started)(HANDLE process, void* context) = nullptr,
                                    void* context = nullptr);

}  // namespace lumenta::testing
