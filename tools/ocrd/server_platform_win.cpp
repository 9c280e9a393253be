#include <httplib.h>
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "tools/ocrd/server_platform.h"

namespace lumenta::ocrd {
namespace {

// What the console control handler wakes (it runs on a thread of the system's).
std::mutex g_mutex;
std::condition_variable g_changed;
bool g_stopRequested = false;

BOOL WINAPI OnConsoleControl(DWORD) {
  {
    std::lock_guard lock(g_mutex);
    g_stopRequested = true;
  }
  g_changed.notify_all();
  return TRUE;  // handled: the process ends when the server has stopped
}

}  // namespace

void PrepareProcess() {
  // No error boxes for a missing disk or a crash: the service runs hidden, beside the program.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetConsoleCtrlHandler(&OnConsoleControl, TRUE);
}

std::unique_ptr<httplib::Server> MakeServer(const Options& options, std::string& error) {
  if (!options.tlsCertificate.empty()) {
    error = "this build of the service serves plain HTTP on loopback only";
    return nullptr;
  }
  auto server = std::make_unique<httplib::Server>();
  server->set_tcp_nodelay(true);
  return server;
}

// Windows keeps the backlog of the first listen: the queue stays as httplib set it, which is
// plenty for the one program on this computer that uses the service.
bool WidenListenQueue(httplib::Server&) { return true; }

struct StopWatcher::State {
  std::thread thread;
  bool ended = false;
};

StopWatcher::StopWatcher(std::function<void()> stop) : state_(std::make_unique<State>()) {
  State* state = state_.get();
  state_->thread = std::thread([state, stop = std::move(stop)] {
    std::unique_lock lock(g_mutex);
    g_changed.wait(lock, [state] { return g_stopRequested || state->ended; });
    const bool requested = g_stopRequested;
    lock.unlock();
    if (requested) stop();
  });
}

StopWatcher::~StopWatcher() {
  {
    std::lock_guard lock(g_mutex);
    state_->ended = true;
  }
  g_changed.notify_all();
  state_->thread.join();
}

}  // namespace lumenta::ocrd
