#include <windows.h>

#include <vector>

#include "tools/ocrd/program_folder.h"

namespace lumenta::ocrd {

std::string ProgramFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // cut off: try again with more room
  }
  std::wstring program(path.begin(), path.end());
  const std::size_t slash = program.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  program.resize(slash);
  const int bytes = WideCharToMultiByte(
      CP_UTF8, 0, program.data(), static_cast<int>(program.size()), nullptr, 0, nullptr, nullptr);
  std::string folder(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, program.data(), static_cast<int>(program.size()), folder.data(),
                      bytes, nullptr, nullptr);
  return folder;
}

}  // namespace lumenta::ocrd
