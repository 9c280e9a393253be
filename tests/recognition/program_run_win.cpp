#include "program_run_win.h"

#include <thread>

#include "win/scoped_handle_win.h"

namespace lumenta::testing {

ProgramRun RunProgram(const std::wstring& program, const std::wstring& arguments,
                      const std::wstring& folder, void (*started)(HANDLE, void*), void* context) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
  CreatePipe(&outRead, &outWrite, &inherit, 0);
  CreatePipe(&errRead, &errWrite, &inherit, 0);
  win::KernelHandle outReader(outRead), outWriter(outWrite), errReader(errRead),
      errWriter(errWrite);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  std::wstring commandLine = Quoted(program) + L" " + arguments;
  PROCESS_INFORMATION process{};
  ProgramRun run;
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    run.err = "<could not start the program: " + std::to_string(GetLastError()) + ">";
    return run;
  }
  const win::KernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
  outWriter.reset();
  errWriter.reset();
  if (started) started(process.hProcess, context);
  auto drain = [](HANDLE pipe, std::string& into) {
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) into.append(buffer, n);
  };
  std::thread errors(drain, errRead, std::ref(run.err));
  drain(outRead, run.out);
  errors.join();
  WaitForSingleObject(process.hProcess, 120000);
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  return run;
}

}  // namespace lumenta::testing
