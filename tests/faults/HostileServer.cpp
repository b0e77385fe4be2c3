// The misbehaving server on POSIX sockets, in the test's own process.
#include "HostileServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace faults {

struct HostileServer::State {
  explicit State(Script steps) : script(std::move(steps)) {}
  void Serve();
  void Run(int fd);
  // Waits until `fd` is readable (or writable) or the server stops; false when stopping.
  bool Wait(int fd, short events, int ms);

  Script script;
  int listen_fd = -1;
  int wake_pipe[2] = {-1, -1};
  std::atomic<int> connections{0};
  mutable std::mutex mutex;
  std::vector<std::string> requests;
  std::thread thread;
};

HostileServer::HostileServer(Script script, const std::string& address)
    : state_(std::make_unique<State>(std::move(script))), address_(address) {
  State& s = *state_;
  if (::pipe2(s.wake_pipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  s.listen_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = 0;
  if (s.listen_fd < 0 || ::inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1 ||
      ::bind(s.listen_fd, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 || ::listen(s.listen_fd, 16) != 0)
    throw std::runtime_error("cannot listen on " + address);
  socklen_t length = sizeof where;
  ::getsockname(s.listen_fd, reinterpret_cast<sockaddr*>(&where), &length);
  port_ = ntohs(where.sin_port);
  s.thread = std::thread([&s] { s.Serve(); });
}

HostileServer::~HostileServer() {
  State& s = *state_;
  (void)!::write(s.wake_pipe[1], "x", 1);
  s.thread.join();
  ::close(s.listen_fd);
  ::close(s.wake_pipe[0]);
  ::close(s.wake_pipe[1]);
}

int HostileServer::Connections() const { return state_->connections; }

std::vector<std::string> HostileServer::Requests() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->requests;
}

bool HostileServer::State::Wait(int fd, short events, int ms) {
  pollfd fds[2] = {{wake_pipe[0], POLLIN, 0}, {fd, events, 0}};
  const int count = fd < 0 ? 1 : 2;
  for (;;) {
    int rc = ::poll(fds, count, ms);
    if (rc < 0 && errno == EINTR) continue;
    if (fds[0].revents != 0) return false;  // stopping
    return true;                            // ready, or the time is up
  }
}

void HostileServer::State::Serve() {
  for (;;) {
    if (!Wait(listen_fd, POLLIN, -1)) return;
    int fd = ::accept4(listen_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    ++connections;
    Run(fd);
    ::close(fd);
  }
}

void HostileServer::State::Run(int fd) {
  for (const Step& step : script) {
    switch (step.kind) {
      case Step::kReadRequest: {
        std::string request;
        size_t wanted = std::string::npos;  // total size once the head is complete
        char buffer[4096];
        while (request.size() < wanted) {
          if (!Wait(fd, POLLIN, 5000)) return;
          ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
          if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
          if (n <= 0) break;
          request.append(buffer, static_cast<size_t>(n));
          size_t head_end = request.find("\r\n\r\n");
          if (wanted == std::string::npos && head_end != std::string::npos) {
            size_t length = 0;
            size_t at = request.find("Content-Length:");
            if (at != std::string::npos && at < head_end) length = std::strtoul(request.c_str() + at + 15, nullptr, 10);
            wanted = head_end + 4 + length;
          }
        }
        std::lock_guard<std::mutex> lock(mutex);
        requests.push_back(request);
        break;
      }
      case Step::kSend:
        if (::send(fd, step.bytes.data(), step.bytes.size(), MSG_NOSIGNAL) < 0) return;
        break;
      case Step::kTrickle:
        for (char c : step.bytes) {
          if (::send(fd, &c, 1, MSG_NOSIGNAL) < 0) return;
          if (!Wait(-1, 0, step.ms)) return;
        }
        break;
      case Step::kPause:
        if (!Wait(-1, 0, step.ms)) return;
        break;
      case Step::kHangUp:
        return;
    }
  }
}

}  // namespace faults
