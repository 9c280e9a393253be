#pragma once
// Test helpers that run programs: a server started as a child process (stopped by its process
// id when the object goes), and one-shot commands.
#include <sys/types.h>

#include <string>
#include <vector>

namespace lumenta::testing {

class ChildProcess {
 public:
  // Starts `program` with `arguments` and `extraEnvironment` ("NAME=value") added to this
  // process's environment. Its standard output is a pipe the test reads; its standard error goes
  // to a file (ErrorOutput).
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& extraEnvironment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

  // The next line of standard output without its line end; empty when none came within
  // `seconds` or the output ended.
  std::string ReadLine(int seconds);

  // Everything written to standard error so far.
  std::string ErrorOutput() const;

  // Sends SIGTERM and waits (SIGKILL after `seconds`); returns the exit status as waitpid gives
  // it, or -1. Safe to call twice.
  int Stop(int seconds = 10);

  // Waits for the process to end by itself; -1 when it is still running after `seconds`.
  int Wait(int seconds);

 private:
  pid_t pid_ = -1;
  int stdoutFd_ = -1;
  std::string errorPath_;
  std::string pending_;
  int status_ = -1;
};

// Runs a command to its end; true when it exited with 0. Its output goes to standard error.
bool RunCommand(const std::vector<std::string>& command);

// A fresh empty folder under the system's temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& path);

}  // namespace lumenta::testing
