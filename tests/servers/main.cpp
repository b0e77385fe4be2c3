// test-servers: the loopback and misbehaving servers of the tests, for test programs that run
// under Wine. Wine programs reach POSIX servers on 127.0.0.1, so the Windows tests use these
// very servers instead of copies of their own. Each control connection carries one message
// (see Wire.h) and gets one answer; the servers live until told to stop or until the program
// is ended.
//   test-servers        prints "test servers listening on PORT", then serves
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "HostileServer.h"
#include "support/LoopbackServer.h"
#include "support/Wire.h"

namespace {

using falcrest::test::LoopbackServer;
using falcrest::test::wire::Message;
namespace wire = falcrest::test::wire;

class Servers {
 public:
  Message Handle(const Message& m) {
    const std::string& command = m.at(0);
    if (command == "loopback") {
      auto server = std::make_unique<LoopbackServer>(std::stoi(m.at(1)));
      const int port = server->Port();
      loopback_[++last_] = std::move(server);
      return {"ok", std::to_string(last_), std::to_string(port)};
    }
    if (command == "hostile") {
      auto server = std::make_unique<faults::HostileServer>(faults::ScriptOf(m, 2), m.at(1));
      const int port = server->Port();
      hostile_[++last_] = std::move(server);
      return {"ok", std::to_string(last_), std::to_string(port)};
    }
    const int id = std::stoi(m.at(1));
    if (command == "stop") {
      loopback_.erase(id);
      hostile_.erase(id);
      return {"ok"};
    }
    if (command == "answer") {
      Loopback(id).Answer(wire::ToAnswer(m, 2));
      return {"ok"};
    }
    if (command == "requests") {
      Message reply = wire::FromRequests(Loopback(id).Requests());
      reply.insert(reply.begin(), "ok");
      return reply;
    }
    if (command == "connections") return {"ok", std::to_string(Hostile(id).Connections())};
    if (command == "hostile-requests") {
      Message reply = Hostile(id).Requests();
      reply.insert(reply.begin(), "ok");
      return reply;
    }
    return {"error", "unknown command " + command};
  }

 private:
  LoopbackServer& Loopback(int id) { return *loopback_.at(id); }
  faults::HostileServer& Hostile(int id) { return *hostile_.at(id); }

  int last_ = 0;
  std::map<int, std::unique_ptr<LoopbackServer>> loopback_;
  std::map<int, std::unique_ptr<faults::HostileServer>> hostile_;
};

std::string ReadAll(int fd) {
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) return text;
    text.append(buffer, static_cast<size_t>(n));
  }
}

void WriteAll(int fd, const std::string& text) {
  for (size_t at = 0; at < text.size();) {
    const ssize_t n = ::send(fd, text.data() + at, text.size() - at, MSG_NOSIGNAL);
    if (n <= 0) return;
    at += static_cast<size_t>(n);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    std::cout << "usage: test-servers\nServes the tests' loopback and misbehaving servers to test programs "
                 "under Wine; prints the control port.\n";
    return std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
  }
  const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof where;
  if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
      ::listen(listener, 16) != 0 || ::getsockname(listener, reinterpret_cast<sockaddr*>(&where), &length) != 0) {
    std::cerr << "test-servers: cannot listen on 127.0.0.1\n";
    return 1;
  }
  std::cout << "test servers listening on " << ntohs(where.sin_port) << std::endl;
  Servers servers;
  for (;;) {
    const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    Message reply;
    try {
      reply = servers.Handle(wire::Decode(ReadAll(fd)));
    } catch (const std::exception& e) {
      reply = {"error", e.what()};
    }
    WriteAll(fd, wire::Encode(reply));
    ::close(fd);
  }
}
