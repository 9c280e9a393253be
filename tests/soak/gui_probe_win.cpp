// A small library that the soak driver loads into the program it drives, to count the program's
// GDI and USER objects from inside: GetGuiResources answers for any process on Windows, but Wine
// does not implement it, and the fallback (the process's GDI handle table, and USER handles
// probed one by one) only sees the calling process's own objects. Each export is the start
// routine of a thread the driver creates in the program; the thread's exit code is the count.
#include <windows.h>
// After windows.h, whose types it uses.
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "tests/capture/gui_object_counts_win.h"

extern "C" __declspec(dllexport) DWORD WINAPI ProbeGdiObjects(void*) {
  return static_cast<DWORD>(lumenta::capture::testing::CountGuiObjects().gdi);
}

extern "C" __declspec(dllexport) DWORD WINAPI ProbeUserObjects(void*) {
  return static_cast<DWORD>(lumenta::capture::testing::CountGuiObjects().user);
}

namespace {

// The allocations that belong to the process's threads (this probe's own thread among them):
// each one's stack, and the block that holds its environment block (with Wine's own per-thread
// stacks beside it), found through the environment block.
std::vector<void*> ThreadAllocations() {
  struct ThreadBasicInformation {
    LONG exitStatus;
    void* tebBaseAddress;
    void* clientId[2];
    ULONG_PTR affinityMask;
    LONG priority;
    LONG basePriority;
  };
  using Query = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
  static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
  std::vector<void*> stacks;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE || query == nullptr) return stacks;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != GetCurrentProcessId()) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
    if (thread == nullptr) continue;
    ThreadBasicInformation info{};
    if (query(thread, 0, &info, sizeof info, nullptr) == 0 && info.tebBaseAddress != nullptr) {
      const auto* tib = static_cast<const NT_TIB*>(info.tebBaseAddress);
      MEMORY_BASIC_INFORMATION block{};
      if (VirtualQuery(static_cast<const char*>(tib->StackBase) - 1, &block, sizeof block)) {
        stacks.push_back(block.AllocationBase);
      }
      if (VirtualQuery(info.tebBaseAddress, &block, sizeof block)) {
        stacks.push_back(block.AllocationBase);
      }
    }
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
  return stacks;
}

// The process's committed private memory in KiB, region by region, with or without what belongs
// to the threads.
DWORD PrivateKib(bool withStacks) {
  const std::vector<void*> stacks = withStacks ? std::vector<void*>() : ThreadAllocations();
  unsigned long long bytes = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State != MEM_COMMIT || region.Type != MEM_PRIVATE) continue;
    if (std::find(stacks.begin(), stacks.end(), region.AllocationBase) != stacks.end()) continue;
    bytes += region.RegionSize;
  }
  return static_cast<DWORD>(bytes / 1024);
}

}  // namespace

// What GetProcessMemoryInfo reports as PrivateUsage on Windows, where Wine reports nothing for
// another process.
extern "C" __declspec(dllexport) DWORD WINAPI ProbePrivateKib(void*) { return PrivateKib(true); }

// The same without the threads' stacks and environment blocks. Under Wine a thread's stack is
// committed whole (with its environment block and Wine's own stacks, about 3 MiB each here), so
// worker threads of the system libraries that come and go between readings swing the total by
// that much without anything having been allocated or lost.
extern "C" __declspec(dllexport) DWORD WINAPI ProbePrivateKibBesideStacks(void*) {
  return PrivateKib(false);
}
