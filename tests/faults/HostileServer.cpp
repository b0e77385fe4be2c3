#include "HostileServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace faults {

Step ReadRequest() { return {Step::kReadRequest, "", 0}; }
Step Send(std::string bytes) { return {Step::kSend, std::move(bytes), 0}; }
Step Trickle(std::string bytes, int ms) { return {Step::kTrickle, std::move(bytes), ms}; }
Step Pause(int ms) { return {Step::kPause, "", ms}; }
Step HangUp() { return {Step::kHangUp, "", 0}; }

HostileServer::HostileServer(Script script, const std::string& address)
    : script_(std::move(script)), address_(address) {
  if (::pipe2(wake_pipe_, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = 0;
  if (listen_fd_ < 0 || ::inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1 ||
      ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 || ::listen(listen_fd_, 16) != 0)
    throw std::runtime_error("cannot listen on " + address);
  socklen_t length = sizeof where;
  ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&where), &length);
  port_ = ntohs(where.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

HostileServer::~HostileServer() {
  (void)!::write(wake_pipe_[1], "x", 1);
  thread_.join();
  ::close(listen_fd_);
  ::close(wake_pipe_[0]);
  ::close(wake_pipe_[1]);
}

std::string HostileServer::Url() const {
  return "http://" + address_ + ":" + std::to_string(port_) + "/WebService/OutlookPlugin.asmx";
}

std::vector<std::string> HostileServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

bool HostileServer::Wait(int fd, short events, int ms) {
  pollfd fds[2] = {{wake_pipe_[0], POLLIN, 0}, {fd, events, 0}};
  const int count = fd < 0 ? 1 : 2;
  for (;;) {
    int rc = ::poll(fds, count, ms);
    if (rc < 0 && errno == EINTR) continue;
    if (fds[0].revents != 0) return false;  // stopping
    return true;                            // ready, or the time is up
  }
}

void HostileServer::Serve() {
  for (;;) {
    if (!Wait(listen_fd_, POLLIN, -1)) return;
    int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    ++connections_;
    Run(fd);
    ::close(fd);
  }
}

void HostileServer::Run(int fd) {
  for (const Step& step : script_) {
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
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
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
