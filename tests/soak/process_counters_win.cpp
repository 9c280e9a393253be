#include "tests/soak/process_counters_win.h"

// After windows.h, whose types they use.
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "tests/http/process_handles_win.h"
#include "win/scoped_handle_win.h"

namespace lumenta::soak {

CounterReader::CounterReader(HANDLE process, DWORD processId, std::wstring probeLibrary)
    : process_(process), processId_(processId), probeLibrary_(std::move(probeLibrary)) {}

CounterReader::~CounterReader() {
  if (localProbe_) FreeLibrary(localProbe_);
}

std::string CounterReader::Attach() {
  // The library is loaded here too, only to learn where its exports lie from its start.
  localProbe_ = LoadLibraryW(probeLibrary_.c_str());
  if (!localProbe_) return "the probe library does not load here";
  const size_t bytes = (probeLibrary_.size() + 1) * sizeof(wchar_t);
  void* remotePath =
      VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remotePath) return "no memory for the library's name in the program";
  std::string failure;
  if (!WriteProcessMemory(process_, remotePath, probeLibrary_.c_str(), bytes, nullptr)) {
    failure = "the library's name cannot be written into the program";
  } else {
    // kernel32 lies at the same address in every process of a session, so LoadLibraryW's
    // address here is its address there.
    const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    const win::KernelHandle thread(
        CreateRemoteThread(process_, nullptr, 0, load, remotePath, 0, nullptr));
    if (!thread) {
      failure = "no thread in the program";
    } else {
      WaitForSingleObject(thread.get(), 30000);
    }
  }
  VirtualFreeEx(process_, remotePath, 0, MEM_RELEASE);
  if (!failure.empty()) return failure;

  // Where the library landed in the program: its module list, by file name.
  std::vector<HMODULE> modules(1024);
  DWORD needed = 0;
  if (!EnumProcessModulesEx(process_, modules.data(), DWORD(modules.size() * sizeof(HMODULE)),
                            &needed, LIST_MODULES_ALL)) {
    return "the program's modules cannot be listed";
  }
  modules.resize(std::min<size_t>(modules.size(), needed / sizeof(HMODULE)));
  // By file name: the loader may spell the folder differently from the path it was given.
  const std::wstring probeName = std::filesystem::path(probeLibrary_).filename().wstring();
  for (HMODULE module : modules) {
    wchar_t name[MAX_PATH] = L"";
    if (GetModuleBaseNameW(process_, module, name, MAX_PATH) &&
        _wcsicmp(name, probeName.c_str()) == 0) {
      remoteProbe_ = reinterpret_cast<std::uintptr_t>(module);
      return "";
    }
  }
  return "the probe library did not load in the program";
}

long CounterReader::CallProbe(const char* name) const {
  if (!remoteProbe_) return -1;
  const auto local =
      reinterpret_cast<std::uintptr_t>(reinterpret_cast<void*>(GetProcAddress(localProbe_, name)));
  if (!local) return -1;
  const auto start = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      remoteProbe_ + (local - reinterpret_cast<std::uintptr_t>(localProbe_)));
  const win::KernelHandle thread(
      CreateRemoteThread(process_, nullptr, 0, start, nullptr, 0, nullptr));
  if (!thread || WaitForSingleObject(thread.get(), 60000) != WAIT_OBJECT_0) return -1;
  DWORD count = 0;
  if (!GetExitCodeThread(thread.get(), &count)) return -1;
  return static_cast<long>(count);
}

ProcessCounters CounterReader::Read() const {
  ProcessCounters counters;
  counters.gdi = CallProbe("ProbeGdiObjects");
  counters.user = CallProbe("ProbeUserObjects");
  counters.handles = KernelHandles(processId_);
  counters.threads = ThreadCount(processId_);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process_, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory)) {
    counters.privateBytes = static_cast<std::int64_t>(memory.PrivateUsage);
  }
  if (counters.privateBytes <= 0) {  // Wine: counted inside the program
    const long kib = CallProbe("ProbePrivateKib");
    counters.privateBytes = kib < 0 ? -1 : std::int64_t(kib) * 1024;
  }
  const long besideStacks = CallProbe("ProbePrivateKibBesideStacks");
  counters.privateBytesBesideStacks = besideStacks < 0 ? -1 : std::int64_t(besideStacks) * 1024;
  return counters;
}

namespace {

// The UNICODE_STRING at the start of what NtQueryObject wrote, as UTF-8.
std::string ObjectText(HANDLE handle, ULONG infoClass) {
  using Query = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
  static const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
  if (!query) return "?";
  alignas(8) char buffer[4096];
  ULONG length = 0;
  if (query(handle, infoClass, buffer, sizeof buffer, &length) != 0) return "?";
  struct Unicode {
    USHORT length;
    USHORT maximum;
    PWSTR text;
  };
  const auto* u = reinterpret_cast<const Unicode*>(buffer);
  if (!u->text || u->length == 0) return "";
  const int wide = u->length / 2;
  const int size = WideCharToMultiByte(CP_UTF8, 0, u->text, wide, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, u->text, wide, out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

std::vector<std::string> ListKernelHandles(DWORD processId) {
  constexpr ULONG kObjectNameInformation = 1, kObjectTypeInformation = 2;
  std::vector<std::string> lines;
  const win::KernelHandle process(OpenProcess(PROCESS_DUP_HANDLE, FALSE, processId));
  if (!process) return lines;
  for (const testing_support::SystemHandleEntry& e : testing_support::SystemHandles()) {
    if (e.processId != processId) continue;
    HANDLE copy = nullptr;
    if (!DuplicateHandle(process.get(), reinterpret_cast<HANDLE>(ULONG_PTR(e.handle)),
                         GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
      lines.push_back("(not copied) " + std::to_string(e.handle));
      continue;
    }
    const win::KernelHandle held(copy);
    lines.push_back(ObjectText(copy, kObjectTypeInformation) + " " +
                    ObjectText(copy, kObjectNameInformation));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

long ThreadCount(DWORD processId) {
  const win::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot.valid()) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  long count = 0;
  for (BOOL more = Thread32First(snapshot.get(), &entry); more;
       more = Thread32Next(snapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID == processId) ++count;
  }
  return count;
}

long KernelHandles(DWORD processId) {
  DWORD reported = 0;
  {
    const win::KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (process && GetProcessHandleCount(process.get(), &reported) && reported > 0) {
      return static_cast<long>(reported);
    }
  }
  return testing_support::ProcessHandleCount(processId);
}

}  // namespace lumenta::soak
