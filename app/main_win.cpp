// The program's entry point: the command line goes to RunProgram, which does the rest.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/startup_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::u16string> arguments;
  int count = 0;
  if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) {
      arguments.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    }
    LocalFree(argv);
  }
  return lumenta::app::RunProgram(arguments);
}
