#pragma once
// Linux paths as a Windows program under Wine sees them.
#include <windows.h>

#include <string>

namespace lumenta::testing_support {

// The DOS name of a Linux path ("/work/x" -> "Z:\work\x"), asked of Wine itself; falls back to
// the Z: drive, which every Wine prefix maps to the Linux root.
inline std::wstring WinePath(const std::string& linuxPath) {
  using Convert = WCHAR*(CDECL*)(const char*);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (convert) {
    if (WCHAR* dos = convert(linuxPath.c_str())) {
      std::wstring out(dos);
      HeapFree(GetProcessHeap(), 0, dos);
      return out;
    }
  }
  return L"Z:" + std::wstring(linuxPath.begin(), linuxPath.end());
}

}  // namespace lumenta::testing_support
