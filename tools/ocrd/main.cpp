// ocrd: the local OCR service. See UsageText() for its options.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include <httplib.h>

#include "tools/ocrd/engine_pool.h"
#include "tools/ocrd/engine_setup.h"
#include "tools/ocrd/options.h"
#include "tools/ocrd/request_log.h"
#include "tools/ocrd/server_platform.h"
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

int Run(const Options& options) {
  PrepareProcess();

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

  std::unique_ptr<httplib::Server> server = MakeServer(options, error);
  if (!server) {
    std::fprintf(stderr, "ocrd: %s\n", error.c_str());
    return 1;
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
  if (!WidenListenQueue(*server)) {
    std::fprintf(stderr, "ocrd: cannot widen the listen queue\n");
    return 1;
  }

  bool served = false;
  {
    StopWatcher watcher([&server] { server->stop(); });
    std::printf("ocrd listening on %s://%s:%d\n", options.tlsCertificate.empty() ? "http" : "https",
                UrlHost(options.bindAddress).c_str(), port);
    std::fflush(stdout);
    log.Note("ocrd: " + std::to_string(engines) + " engine(s), " + description + ", " +
             std::to_string(threads) + " connection thread(s), body limit " +
             std::to_string(options.bodyLimit) + " bytes" +
             (options.clientId.empty() ? ", any keys accepted" : ", keys required"));
    served = server->listen_after_bind();
  }
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
