#include "tests/http/process_handles_win.h"

namespace lumenta::testing_support {

std::vector<SystemHandleEntry> SystemHandles() {
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  if (!query) return {};
  std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  LONG status;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                         &length)) == kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return {};
  const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
  const auto* entries =
      reinterpret_cast<const SystemHandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
  return {entries, entries + count};
}

int ProcessHandleCount(DWORD processId) {
  const std::vector<SystemHandleEntry> handles = SystemHandles();
  if (handles.empty()) return -1;
  int held = 0;
  for (const SystemHandleEntry& e : handles) held += e.processId == processId;
  return held;
}

}  // namespace lumenta::testing_support
