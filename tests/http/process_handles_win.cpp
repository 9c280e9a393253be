#include "tests/http/process_handles_win.h"

#include <windows.h>

#include <vector>

namespace lumenta::testing_support {

int ProcessHandleCount() {
  struct Entry {
    ULONG processId;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
  };
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  if (!query) return -1;
  std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  LONG status;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                         &length)) == kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return -1;
  const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
  const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
  int mine = 0;
  for (ULONG i = 0; i < count; ++i) mine += entries[i].processId == GetCurrentProcessId();
  return mine;
}

}  // namespace lumenta::testing_support
