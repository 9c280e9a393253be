#pragma once
// What the service does differently on each system: preparing the process, making its server
// (HTTPS only where OpenSSL is at hand), widening the listen queue, and waiting for the request to
// stop (SIGINT or SIGTERM on Linux; Ctrl+C, Ctrl+Break or the console closing on Windows).
#include <functional>
#include <memory>
#include <string>

#include "tools/ocrd/options.h"

namespace httplib {
class Server;
}

namespace lumenta::ocrd {

// Done first, before any other thread exists.
void PrepareProcess();

// The server the options ask for, its connections sending without Nagle's delay (an answer
// leaves in two writes, the head and then the body, and with Nagle's algorithm the body waits for
// the client to acknowledge the head, which a client on a kept-alive connection delays by up to
// 40 ms); null with the reason in `error`.
[[nodiscard]] std::unique_ptr<httplib::Server> MakeServer(const Options& options,
                                                          std::string& error);

// Lets more clients wait for a connection than httplib's fixed queue of 5 (where the system can);
// false when the system refused.
[[nodiscard]] bool WidenListenQueue(httplib::Server& server);

// Calls `stop` once, from a thread of its own, when the system asks the process to stop. Ended
// (and joined) when it goes, whether or not that came.
class StopWatcher {
 public:
  explicit StopWatcher(std::function<void()> stop);
  ~StopWatcher();
  StopWatcher(const StopWatcher&) = delete;
  StopWatcher& operator=(const StopWatcher&) = delete;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace lumenta::ocrd
