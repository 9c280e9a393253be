#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace lumenta::testing {
namespace {

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (auto& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& extraEnvironment) {
  char errorTemplate[] = "/tmp/lumenta-child-stderr.XXXXXX";
  const int errorFd = mkstemp(errorTemplate);
  if (errorFd < 0) return;
  errorPath_ = errorTemplate;
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(errorFd);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errorFd, STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

  std::vector<std::string> argv{program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> envp;
  for (char** e = environ; *e; ++e) envp.emplace_back(*e);
  envp.insert(envp.end(), extraEnvironment.begin(), extraEnvironment.end());
  auto argvPointers = Pointers(argv);
  auto envPointers = Pointers(envp);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argvPointers.data(),
                  envPointers.data()) == 0) {
    pid_ = pid;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(errorFd);
  stdoutFd_ = out[0];
}

ChildProcess::~ChildProcess() {
  Stop();
  if (stdoutFd_ >= 0) close(stdoutFd_);
  if (!errorPath_.empty()) unlink(errorPath_.c_str());
}

std::string ChildProcess::ReadLine(int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (;;) {
    const auto end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0 || stdoutFd_ < 0) return {};
    pollfd fd{stdoutFd_, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(left)) <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(stdoutFd_, buffer, sizeof buffer);
    if (n <= 0) return {};
    pending_.append(buffer, static_cast<size_t>(n));
  }
}

std::string ChildProcess::ErrorOutput() const { return ReadFileBytes(errorPath_); }

int ChildProcess::Wait(int seconds) {
  if (pid_ <= 0) return status_;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      pid_ = -1;
      status_ = status;
      return status;
    }
    if (std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

int ChildProcess::Stop(int seconds) {
  if (pid_ <= 0) return status_;
  kill(pid_, SIGTERM);
  if (Wait(seconds) == -1 && pid_ > 0) {
    kill(pid_, SIGKILL);
    Wait(seconds);
    return -1;
  }
  return status_;
}

bool RunCommand(const std::vector<std::string>& command) {
  std::vector<std::string> argv = command;
  auto pointers = Pointers(argv);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0].c_str(), nullptr, nullptr, pointers.data(), environ) != 0) {
    return false;
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumenta-test.XXXXXX").string();
  if (mkdtemp(pattern.data())) path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace lumenta::testing
