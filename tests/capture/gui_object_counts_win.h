#pragma once
// The process's GDI and USER object counts, for checking that an operation releases what it
// acquired. GetGuiResources gives them on Windows; Wine answers it with "not implemented", so
// there the GDI objects are counted in the process's GDI handle table (live entries point to
// their object) and the USER objects by probing the handle values for the process's own windows
// and its cursors.
#include <windows.h>
#include <winternl.h>

#include <cstdint>

namespace lumenta::capture::testing {

struct GuiObjectCounts {
  long gdi = 0;
  long user = 0;
  friend bool operator==(const GuiObjectCounts&, const GuiObjectCounts&) = default;
};

inline GuiObjectCounts CountGuiObjects() {
  GuiObjectCounts counts;
  SetLastError(0);
  counts.gdi = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  counts.user = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return counts;

  struct HandleEntry {  // one entry of the GDI handle table the process environment block points to
    std::uint64_t object;
    std::uint32_t owner;
    std::uint32_t type;
    std::uint64_t user;
  };
#ifdef _WIN64
  constexpr size_t kTableOffset = 0xF8;
#else
  constexpr size_t kTableOffset = 0x94;
#endif
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"  // the header's NtCurrentTeb reads gs:[0x30]
  const auto* peb = reinterpret_cast<const char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#pragma GCC diagnostic pop
  const auto* table = *reinterpret_cast<HandleEntry* const*>(peb + kTableOffset);
  counts.gdi = 0;
  if (table) {
    for (int i = 0; i < 0x10000; ++i) counts.gdi += table[i].object != 0 ? 1 : 0;
  }
  // USER handles are an index with a generation above it; a zero generation matches any.
  // Windows answer IsWindow in every process of the desktop (the prefix's explorer, a browser an
  // earlier test started), so only this process's own windows count; cursors of other processes
  // are not reachable from here at all.
  counts.user = 0;
  const DWORD self = GetCurrentProcessId();
  for (std::uintptr_t h = 0x20; h < 0xFFF0; h += 2) {
    const auto window = reinterpret_cast<HWND>(h);
    if (IsWindow(window)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == self) ++counts.user;
      continue;
    }
    ICONINFO info{};
    if (GetIconInfo(reinterpret_cast<HICON>(h), &info)) {
      ++counts.user;
      if (info.hbmMask) DeleteObject(info.hbmMask);
      if (info.hbmColor) DeleteObject(info.hbmColor);
    }
  }
  return counts;
}

}  // namespace lumenta::capture::testing
