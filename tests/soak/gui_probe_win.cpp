// A small library that the soak driver loads into the program it drives, to count the program's
// GDI and USER objects from inside: GetGuiResources answers for any process on Windows, but Wine
// does not implement it, and the fallback (the process's GDI handle table, and USER handles
// probed one by one) only sees the calling process's own objects. Each export is the start
// routine of a thread the driver creates in the program; the thread's exit code is the count.
#include <windows.h>

#include "tests/capture/gui_object_counts_win.h"

extern "C" __declspec(dllexport) DWORD WINAPI ProbeGdiObjects(void*) {
  return static_cast<DWORD>(lumenta::capture::testing::CountGuiObjects().gdi);
}

extern "C" __declspec(dllexport) DWORD WINAPI ProbeUserObjects(void*) {
  return static_cast<DWORD>(lumenta::capture::testing::CountGuiObjects().user);
}

// The process's committed private memory in KiB, region by region: what GetProcessMemoryInfo
// reports as PrivateUsage on Windows, where Wine reports nothing for another process.
extern "C" __declspec(dllexport) DWORD WINAPI ProbePrivateKib(void*) {
  unsigned long long bytes = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
  }
  return static_cast<DWORD>(bytes / 1024);
}
