// The tests' loopback and misbehaving servers for the test programs under Wine: each one runs
// in the test servers' program (tests/servers), a POSIX program that the launcher starts beside
// the test and names in TEST_SERVERS (its control port on 127.0.0.1). So the Windows tests meet
// the very servers the POSIX tests meet, over a real network connection.
#include <winsock2.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "HostileServer.h"
#include "support/LoopbackServer.h"
#include "support/Wire.h"

namespace {

namespace wire = falcrest::test::wire;

// One message to the test servers' program and its answer; raises what it reports.
wire::Message Ask(const wire::Message& message) {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  const char* control = std::getenv("TEST_SERVERS");
  if (!started || !control || !*control)
    throw std::runtime_error("TEST_SERVERS is not set: run this test through scripts/with-test-servers.sh");
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  where.sin_port = htons(static_cast<u_short>(std::atoi(control)));
  if (s == INVALID_SOCKET || connect(s, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0) {
    if (s != INVALID_SOCKET) closesocket(s);
    throw std::runtime_error(std::string("cannot reach the test servers on port ") + control);
  }
  const std::string text = wire::Encode(message);
  for (size_t at = 0; at < text.size();) {
    const int n = send(s, text.data() + at, static_cast<int>(text.size() - at), 0);
    if (n <= 0) break;
    at += static_cast<size_t>(n);
  }
  shutdown(s, SD_SEND);  // the end of the message
  std::string reply;
  char buffer[65536];
  for (int n; (n = recv(s, buffer, sizeof buffer, 0)) > 0;) reply.append(buffer, static_cast<size_t>(n));
  closesocket(s);
  wire::Message answer = wire::Decode(reply);
  if (answer.empty() || answer[0] != "ok")
    throw std::runtime_error("the test servers: " + (answer.size() > 1 ? answer[1] : std::string("no answer")));
  return answer;
}

}  // namespace

namespace falcrest::test {

struct LoopbackServer::State {
  std::string id;
};

LoopbackServer::LoopbackServer(int keepAliveSeconds) : state_(std::make_unique<State>()) {
  const wire::Message made = Ask({"loopback", std::to_string(keepAliveSeconds)});
  state_->id = made.at(1);
  port_ = std::stoi(made.at(2));
}

LoopbackServer::~LoopbackServer() {
  try {
    Ask({"stop", state_->id});
  } catch (const std::exception&) {
    // The program is gone; so is the server.
  }
}

void LoopbackServer::Answer(CannedAnswer answer) {
  wire::Message message = wire::FromAnswer(answer);
  message.insert(message.begin(), {"answer", state_->id});
  Ask(message);
}

std::vector<CapturedRequest> LoopbackServer::Requests() const {
  return wire::ToRequests(Ask({"requests", state_->id}), 1);
}

}  // namespace falcrest::test

namespace faults {

struct HostileServer::State {
  std::string id;
};

HostileServer::HostileServer(Script script, const std::string& address)
    : state_(std::make_unique<State>()), address_(address) {
  wire::Message message = ScriptFields(script);
  message.insert(message.begin(), {"hostile", address});
  const wire::Message made = Ask(message);
  state_->id = made.at(1);
  port_ = std::stoi(made.at(2));
}

HostileServer::~HostileServer() {
  try {
    Ask({"stop", state_->id});
  } catch (const std::exception&) {
  }
}

int HostileServer::Connections() const { return std::stoi(Ask({"connections", state_->id}).at(1)); }

std::vector<std::string> HostileServer::Requests() const {
  const wire::Message answer = Ask({"hostile-requests", state_->id});
  return std::vector<std::string>(answer.begin() + 1, answer.end());
}

}  // namespace faults
