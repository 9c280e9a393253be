// ocrd: the local OCR service. See UsageText() for its options.
#include <httplib.h>
#include <leptonica/allheaders.h>
#include <malloc.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "tools/ocrd/engine_pool.h"
#include "tools/ocrd/engine_setup.h"
#include "tools/ocrd/options.h"
#include "tools/ocrd/request_log.h"
#include "tools/ocrd/service.h"
#include "tools/ocrd/token_issuer.h"

namespace lumenta::ocrd {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string UrlHost(const std::string& address) {
  return address.find(':') != std::string::npos ? "[" + address + "]" : address;
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

bool WidenBacklog(httplib::Server& server) {
  if (auto* secure = dynamic_cast<SecureServer*>(&server)) return secure->WidenBacklog();
  return static_cast<PlainServer&>(server).WidenBacklog();
}

int Run(const Options& options) {
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
  // SIGINT and SIGTERM are taken by one thread that stops the server: blocked here, before any
  // other thread exists, so that every thread inherits the mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  RequestLog log(stderr);
  const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
  const int engines = EngineCount(options, processors);
  std::string description, error;
  EngineFactory factory = MakeEngineFactory(options, processors, description, error);
  if (!factory) {
    std::fprintf(stderr, "ocrd: %s\n", error.c_str());
    return 1;
  }
  EnginePool pool(std::move(factory), engines);
  if (!pool.Start(error)) {
    std::fprintf(stderr, "ocrd: %s\n", error.c_str());
    return 1;
  }
  TokenIssuer tokens;

  const bool tls = !options.tlsCertificate.empty();
  std::unique_ptr<httplib::Server> server;
  if (tls) {
    auto secure =
        std::make_unique<SecureServer>(options.tlsCertificate.c_str(), options.tlsKey.c_str());
    if (!secure->is_valid()) {
      std::fprintf(stderr, "ocrd: cannot use the certificate %s with the key %s\n",
                   options.tlsCertificate.c_str(), options.tlsKey.c_str());
      return 1;
    }
    server = std::move(secure);
  } else {
    server = std::make_unique<PlainServer>();
  }
  const int threads = options.threads;
  server->new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  OcrService service(options, pool, tokens, log);
  service.Install(*server);

  int port = options.port;
  if (port == 0) {
    port = server->bind_to_any_port(options.bindAddress);
  } else if (!server->bind_to_port(options.bindAddress, port)) {
    port = -1;
  }
  if (port < 0) {
    std::fprintf(stderr, "ocrd: cannot listen on %s port %d\n", options.bindAddress.c_str(),
                 options.port);
    return 1;
  }

  if (!WidenBacklog(*server)) {
    std::fprintf(stderr, "ocrd: cannot widen the listen queue\n");
    return 1;
  }

  std::thread stopper([&server, stopSignals] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server->stop();
  });

  std::printf("ocrd listening on %s://%s:%d\n", tls ? "https" : "http",
              UrlHost(options.bindAddress).c_str(), port);
  std::fflush(stdout);
  log.Note("ocrd: " + std::to_string(engines) + " engine(s), " + description + ", " +
           std::to_string(threads) + " connection thread(s), body limit " +
           std::to_string(options.bodyLimit) + " bytes" +
           (options.clientId.empty() ? ", any keys accepted" : ", keys required"));

  const bool served = server->listen_after_bind();
  if (!served) {
    // The server ended without a stop signal: wake the stopper so it can be joined.
    pthread_kill(stopper.native_handle(), SIGTERM);
  }
  stopper.join();
  log.Note("ocrd stopped");
  return served ? 0 : 1;
}

}  // namespace
}  // namespace lumenta::ocrd

int main(int argc, char** argv) {
  using namespace lumenta::ocrd;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const CommandLine command =
      ParseCommandLine(arguments, Environment("OCRD_CLIENT_ID"), Environment("OCRD_CLIENT_SECRET"));
  if (std::holds_alternative<ShowUsage>(command)) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (const auto* bad = std::get_if<BadCommandLine>(&command)) {
    std::fprintf(stderr, "ocrd: %s\n%s", bad->message.c_str(), UsageText().c_str());
    return 2;
  }
  return Run(std::get<Options>(command));
}
