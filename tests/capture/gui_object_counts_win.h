#pragma once
// The process's GDI and USER object counts, for checking that an operation releases what it
// acquired. GetGuiResources gives them on Windows; Wine answers it with "not implemented", so
// there the GDI objects are counted in the process's GDI handle table (live entries point to
// their object) and the USER objects are listed by probing the handle values.
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace lumenta::capture::testing {

struct GuiObjectCounts {
  long gdi = 0;
  long user = 0;
  friend bool operator==(const GuiObjectCounts&, const GuiObjectCounts&) = default;
};

// The process's own USER objects, one line each ("window 0x1234 Edit", "cursor 0x5678 32x32"),
// found by probing the handle values: USER handles are an index with a generation above it, and a
// zero generation matches any. Windows answer IsWindow in every process of the desktop (the
// prefix's explorer keeps about a dozen, and its DDE windows come and go), so only this process's
// own windows are listed; cursors of other processes are not reachable from here at all. Windows
// the system makes for the process on its own (the message-only windows' parent) are left out.
inline std::vector<std::string> ListUserObjects() {
  std::vector<std::string> objects;
  const DWORD self = GetCurrentProcessId();
  char line[160];
  for (std::uintptr_t h = 0x20; h < 0xFFF0; h += 2) {
    const auto window = reinterpret_cast<HWND>(h);
    if (IsWindow(window)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner != self) continue;
      char name[64] = "";
      GetClassNameA(window, name, sizeof name);
      // The parent of message-only windows: Wine makes one for the process when it first needs
      // it, at a moment of its own choosing (seen half-way through a run in a new prefix). The
      // program makes no message-only windows, and one of its own would have its own class.
      if (std::strcmp(name, "Message") == 0) continue;
      std::snprintf(line, sizeof line, "window %#llx %s", static_cast<unsigned long long>(h), name);
      objects.emplace_back(line);
      continue;
    }
    ICONINFO info{};
    if (GetIconInfo(reinterpret_cast<HICON>(h), &info)) {
      BITMAP mask{};
      if (info.hbmMask) GetObjectW(info.hbmMask, sizeof mask, &mask);
      std::snprintf(line, sizeof line, "%s %#llx %ldx%ld", info.fIcon ? "icon" : "cursor",
                    static_cast<unsigned long long>(h), mask.bmWidth, mask.bmHeight);
      objects.emplace_back(line);
      if (info.hbmMask) DeleteObject(info.hbmMask);
      if (info.hbmColor) DeleteObject(info.hbmColor);
    }
  }
  return objects;
}

// The USER objects the process holds now that `before` (a ListUserObjects) did not, for the
// message of a failed leak check.
inline std::string NewUserObjects(const std::vector<std::string>& before) {
  std::string added;
  for (const std::string& object : ListUserObjects()) {
    if (std::find(before.begin(), before.end(), object) == before.end()) added += object + "; ";
  }
  return added.empty() ? "none new (some were released)" : added;
}

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
  counts.user = static_cast<long>(ListUserObjects().size());
  return counts;
}

}  // namespace lumenta::capture::testing
