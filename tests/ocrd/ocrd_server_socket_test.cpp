// The service's server as MakeServer makes it, serving one kept-alive connection in this
// process, so that the connection's own socket can be looked at.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "tools/ocrd/options.h"
#include "tools/ocrd/server_platform.h"

namespace lumenta::ocrd {
namespace {

// The port a socket of this process is bound to locally, or -1.
int LocalPort(int fd) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      address.sin_family != AF_INET) {
    return -1;
  }
  return ntohs(address.sin_port);
}

// An answer leaves in two writes, its head and its body; with Nagle's algorithm the body waits
// for the client's acknowledgement of the head, which a client on a kept-alive connection sends
// up to 40 ms late (the service soak saw every error answer after a connection's first take
// 44 ms instead of a fraction of one). The connection the server accepted must have it off.
TEST(OcrdServerSocket, AnAcceptedConnectionSendsWithoutNaglesDelay) {
  std::string error;
  const std::unique_ptr<httplib::Server> server = MakeServer(Options{}, error);
  ASSERT_NE(server, nullptr) << error;
  server->Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("{}", "application/json");
  });
  const int port = server->bind_to_any_port("127.0.0.1");
  ASSERT_GT(port, 0);
  std::thread serving([&server] { server->listen_after_bind(); });

  const int client = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const std::string request = "GET / HTTP/1.1\r\nHost: x\r\n\r\n";  // kept alive
  ASSERT_EQ(send(client, request.data(), request.size(), 0), ssize_t(request.size()));
  char answer[512];
  ASSERT_GT(recv(client, answer, sizeof answer, 0), 0);

  // The accepted connection: bound to the server's port, not listening, not the client's.
  int accepted = -1;
  for (int fd = 3; fd < 4096 && accepted < 0; ++fd) {
    int listening = 0;
    socklen_t size = sizeof listening;
    if (fd == client || LocalPort(fd) != port ||
        getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size) != 0 || listening) {
      continue;
    }
    accepted = fd;
  }
  ASSERT_GE(accepted, 0) << "no accepted connection found in the process";
  int noDelay = 0;
  socklen_t size = sizeof noDelay;
  ASSERT_EQ(getsockopt(accepted, IPPROTO_TCP, TCP_NODELAY, &noDelay, &size), 0);
  EXPECT_NE(noDelay, 0);

  close(client);
  server->stop();
  serving.join();
}

}  // namespace
}  // namespace lumenta::ocrd
