#include <httplib.h>
#include <leptonica/allheaders.h>
#include <malloc.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <thread>

#include "tools/ocrd/server_platform.h"

namespace lumenta::ocrd {
namespace {

sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

// httplib listens with a backlog of 5 (fixed when Debian built the library): a burst of clients
// overflows it and the kernel drops their connections. Listening again on the bound socket
// widens the queue (Linux updates the backlog of a listening socket).
template <class Base>
class WideBacklogServer : public Base {
 public:
  using Base::Base;
  bool WidenBacklog() { return ::listen(this->svr_sock_, SOMAXCONN) == 0; }
};
using PlainServer = WideBacklogServer<httplib::Server>;
using SecureServer = WideBacklogServer<httplib::SSLServer>;

}  // namespace

void PrepareProcess() {
  // Requests are served by a pool of threads, and glibc gives each thread a heap of its own that
  // keeps what the thread freed: over many requests every thread's heap would hold a picture's
  // worth of memory. Two heaps are enough for a service whose work is done by the models' own
  // pool; blocks of a megabyte and more (pictures, tensors) are mapped for themselves and go back
  // to the system when freed.
  mallopt(M_ARENA_MAX, 2);
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  // Leptonica reports undecodable uploads on standard error; they are answered, not logged.
  setMsgSeverity(L_SEVERITY_NONE);
  // A client that goes away mid-answer must not end the process.
  signal(SIGPIPE, SIG_IGN);
  // SIGINT and SIGTERM are taken by one thread (StopWatcher): blocked here, before any other
  // thread exists, so that every thread inherits the mask.
  const sigset_t signals = StopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

std::unique_ptr<httplib::Server> MakeServer(const Options& options, std::string& error) {
  if (options.tlsCertificate.empty()) {
    auto plain = std::make_unique<PlainServer>();
    plain->set_tcp_nodelay(true);
    return plain;
  }
  auto secure =
      std::make_unique<SecureServer>(options.tlsCertificate.c_str(), options.tlsKey.c_str());
  if (!secure->is_valid()) {
    error = "cannot use the certificate " + options.tlsCertificate + " with the key " +
            options.tlsKey;
    return nullptr;
  }
  secure->set_tcp_nodelay(true);
  return secure;
}

bool WidenListenQueue(httplib::Server& server) {
  if (auto* secure = dynamic_cast<SecureServer*>(&server)) return secure->WidenBacklog();
  return static_cast<PlainServer&>(server).WidenBacklog();
}

struct StopWatcher::State {
  std::thread thread;
};

StopWatcher::StopWatcher(std::function<void()> stop) : state_(std::make_unique<State>()) {
  state_->thread = std::thread([stop = std::move(stop)] {
    const sigset_t signals = StopSignals();
    int signal = 0;
    sigwait(&signals, &signal);
    stop();
  });
}

StopWatcher::~StopWatcher() {
  // The server may have ended by itself: wake the watcher so that it can be joined (its stop()
  // then finds the server stopped already).
  pthread_kill(state_->thread.native_handle(), SIGTERM);
  state_->thread.join();
}

}  // namespace lumenta::ocrd
