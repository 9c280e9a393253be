#pragma once
// The program's own OCR service as a process: lumenta-ocrd.exe from the program's folder, started
// hidden the first time a recognition asks for its address, on a loopback port of its choosing,
// and ended with the program. It runs in a job object that ends it when the job's last handle
// closes, so a program that crashes or is killed does not leave it behind. Each program has its
// own service: two programs never share one, so neither can end the other's.
#include <string>

#include "app/local_service.h"
#include "ocr/recognition_flow.h"
#include "win/scoped_handle_win.h"

namespace lumenta::app {

class LocalService {
 public:
  explicit LocalService(std::u16string folder, int startLimitMs = kLocalServiceStartLimitMs);
  ~LocalService();
  LocalService(const LocalService&) = delete;
  LocalService& operator=(const LocalService&) = delete;

  // The service's address, starting it when it is not running (again, after it ended); or why
  // it cannot be had. Window messages keep being handled while the start is awaited.
  [[nodiscard]] ServiceAddress Address();

  // The running service's process id, or 0.
  [[nodiscard]] unsigned long processId() const;

  // Ends the service now (the program does this at exit; the job would do it anyway).
  void Stop();

 private:
  [[nodiscard]] ServiceAddress Start();
  [[nodiscard]] bool Running() const;

  std::u16string folder_;
  int startLimitMs_;
  win::KernelHandle job_;
  win::KernelHandle process_;
  unsigned long processId_ = 0;
  Text base_;
};

// The program's service, for the program's own folder; made on first use.
[[nodiscard]] LocalService& ProgramLocalService();

// The locator of the recognition flow for a [service] url setting: the program's service for
// "local", else the address the setting gives.
[[nodiscard]] ServiceLocator ServiceLocatorForSetting(std::string_view setting);

}  // namespace lumenta::app
