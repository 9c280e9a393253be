#include "app/local_service_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/credentials.h"
#include "app/credentials_win.h"
#include "base/pending_events.h"
#include "win/wide_win.h"

namespace lumenta::app {
namespace {

// What the service prints before it listens is a few lines; more than this is kept from its end.
constexpr size_t kOutputLimit = 64 * 1024;

std::wstring PathInFolder(const std::u16string& folder, const std::string& relative) {
  return win::Wide(folder) + L"\\" + win::WideFromUtf8(relative);
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Reads what the pipe holds now, without waiting; false when nothing more will come.
bool ReadAvailable(HANDLE pipe, std::string& output) {
  DWORD available = 0;
  if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return false;
  while (available > 0) {
    char chunk[4096];
    DWORD read = 0;
    if (!ReadFile(pipe, chunk, std::min<DWORD>(available, sizeof chunk), &read, nullptr) ||
        read == 0) {
      return false;
    }
    output.append(chunk, read);
    available -= std::min(available, read);
  }
  if (output.size() > kOutputLimit) output.erase(0, output.size() - kOutputLimit);
  return true;
}

// A job that ends its processes when its last handle closes, which the system does for a
// program that ends in any way. Null when the system has no such jobs for this program.
win::KernelHandle MakeKillOnCloseJob() {
  win::KernelHandle job(CreateJobObjectW(nullptr, nullptr));
  if (!job) return job;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                               sizeof limits)) {
    return win::KernelHandle();
  }
  return job;
}

}  // namespace

LocalService::LocalService(std::u16string folder, int startLimitMs)
    : folder_(std::move(folder)), startLimitMs_(startLimitMs) {}

LocalService::~LocalService() { Stop(); }

bool LocalService::Running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

unsigned long LocalService::processId() const { return Running() ? processId_ : 0; }

ServiceAddress LocalService::Address() {
  if (Running() && !base_.empty()) return {base_, Text()};
  return Start();
}

void LocalService::Stop() {
  if (process_) {
    TerminateProcess(process_.get(), 0);
    WaitForSingleObject(process_.get(), 5000);
  }
  process_.reset();
  job_.reset();
  processId_ = 0;
  base_.clear();
}

ServiceAddress LocalService::Start() {
  Stop();
  std::vector<std::string> missing;
  for (const std::string& file : LocalServiceFiles()) {
    if (!IsFile(PathInFolder(folder_, file))) missing.push_back(file);
  }
  if (!missing.empty()) return {Text(), MissingFilesMessage(missing)};

  // Its standard output and error come through one pipe until it listens; its input is empty.
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
    return {Text(), ServiceNotRunMessage(GetLastError())};
  }
  win::KernelHandle output(readEnd);
  win::KernelHandle serviceOutput(writeEnd);
  SetHandleInformation(output.get(), HANDLE_FLAG_INHERIT, 0);
  win::KernelHandle nothing(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        &inheritable, OPEN_EXISTING, 0, nullptr));

  // It inherits these two handles and no other: a handle of the program's own (its standard
  // output in a script's pipe, say) held by the service would outlive the program's use of it.
  HANDLE inherited[] = {nothing.get(), serviceOutput.get()};
  SIZE_T listSize = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
  std::vector<unsigned char> listMemory(listSize);
  auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listMemory.data());
  const bool listed = listSize > 0 && InitializeProcThreadAttributeList(list, 1, 0, &listSize) &&
                      UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                inherited, sizeof inherited, nullptr, nullptr);
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = listed ? sizeof startup : sizeof startup.StartupInfo;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = nothing.get();
  startup.StartupInfo.hStdOutput = serviceOutput.get();
  startup.StartupInfo.hStdError = serviceOutput.get();
  startup.lpAttributeList = listed ? list : nullptr;
  const std::wstring program = PathInFolder(folder_, kLocalServiceProgram);
  std::wstring commandLine = L"\"" + program + L"\" --port 0";
  const std::wstring folder = win::Wide(folder_);
  PROCESS_INFORMATION started{};
  // Suspended until it is in the job, so that not even its first instant is outside it.
  const DWORD flags =
      CREATE_NO_WINDOW | CREATE_SUSPENDED | (listed ? EXTENDED_STARTUPINFO_PRESENT : 0);
  const BOOL created =
      CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags, nullptr,
                     folder.c_str(), &startup.StartupInfo, &started);
  const DWORD createError = GetLastError();
  if (listed) DeleteProcThreadAttributeList(list);
  if (!created) return {Text(), ServiceNotRunMessage(createError)};
  process_.reset(started.hProcess);
  const win::KernelHandle thread(started.hThread);
  processId_ = started.dwProcessId;
  job_ = MakeKillOnCloseJob();
  if (job_ && !AssignProcessToJobObject(job_.get(), process_.get())) job_.reset();
  ResumeThread(thread.get());
  // Only the service holds the pipe's writing end now: its end is the end of the output.
  serviceOutput.reset();
  nothing.reset();

  std::string printed;
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(startLimitMs_);
  for (;;) {
    const bool open = ReadAvailable(output.get(), printed);
    if (const std::optional<int> port = ListeningPort(printed)) {
      // Nobody reads its output from now on: closing the pipe makes its later writes fail at
      // once instead of filling the pipe and stopping the service.
      base_ = LocalServiceBase(*port);
      return {base_, Text()};
    }
    if (!open || WaitForSingleObject(process_.get(), 0) != WAIT_TIMEOUT) {
      ReadAvailable(output.get(), printed);
      Stop();
      return {Text(), ServiceEndedMessage(printed)};
    }
    if (GetTickCount64() >= deadline) {
      Stop();
      return {Text(), ServiceTooSlowMessage()};
    }
    ProcessPendingEvents();
    HANDLE process = process_.get();
    MsgWaitForMultipleObjects(1, &process, FALSE, 20, QS_ALLINPUT);
  }
}

LocalService& ProgramLocalService() {
  static LocalService service{std::u16string(FolderOf(ProgramPath()))};
  return service;
}

ServiceLocator ServiceLocatorForSetting(std::string_view setting) {
  if (IsLocalServiceSetting(setting)) return [] { return ProgramLocalService().Address(); };
  return [base = ServiceBaseFromSetting(setting)] { return ServiceAddress{base, Text()}; };
}

}  // namespace lumenta::app
