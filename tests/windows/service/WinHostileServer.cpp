// The misbehaving server of tests/faults on Winsock. The header's descriptors hold socket
// handles (Windows keeps handle values within 32 bits); its wake pipe is a loopback UDP socket
// that the server's own destructor sends one datagram to.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "HostileServer.h"

namespace faults {
namespace {

SOCKET AsSocket(int fd) { return static_cast<SOCKET>(static_cast<unsigned>(fd)); }
int AsFd(SOCKET s) { return s == INVALID_SOCKET ? -1 : static_cast<int>(s); }

}  // namespace

Step ReadRequest() { return {Step::kReadRequest, "", 0}; }
Step Send(std::string bytes) { return {Step::kSend, std::move(bytes), 0}; }
Step Trickle(std::string bytes, int ms) { return {Step::kTrickle, std::move(bytes), ms}; }
Step Pause(int ms) { return {Step::kPause, "", ms}; }
Step HangUp() { return {Step::kHangUp, "", 0}; }

HostileServer::HostileServer(Script script, const std::string& address)
    : script_(std::move(script)), address_(address) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  sockaddr_in wake{};
  wake.sin_family = AF_INET;
  wake.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  SOCKET wake_socket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (wake_socket == INVALID_SOCKET || bind(wake_socket, reinterpret_cast<sockaddr*>(&wake), sizeof wake) != 0)
    throw std::runtime_error("cannot make the wake socket");
  wake_pipe_[0] = AsFd(wake_socket);

  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  listen_fd_ = AsFd(listener);
  sockaddr_in where{};
  where.sin_family = AF_INET;
  if (listener == INVALID_SOCKET || inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1 ||
      bind(listener, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 || listen(listener, 16) != 0)
    throw std::runtime_error("cannot listen on " + address);
  int length = sizeof where;
  getsockname(listener, reinterpret_cast<sockaddr*>(&where), &length);
  port_ = ntohs(where.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

HostileServer::~HostileServer() {
  const SOCKET wake_socket = AsSocket(wake_pipe_[0]);
  sockaddr_in self{};
  int length = sizeof self;
  getsockname(wake_socket, reinterpret_cast<sockaddr*>(&self), &length);
  sendto(wake_socket, "x", 1, 0, reinterpret_cast<sockaddr*>(&self), length);
  thread_.join();
  closesocket(AsSocket(listen_fd_));
  closesocket(wake_socket);
  WSACleanup();
}

std::string HostileServer::Url() const {
  return "http://" + address_ + ":" + std::to_string(port_) + "/WebService/OutlookPlugin.asmx";
}

std::vector<std::string> HostileServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

bool HostileServer::Wait(int fd, short events, int ms) {
  fd_set readable;
  fd_set writable;
  FD_ZERO(&readable);
  FD_ZERO(&writable);
  const SOCKET wake_socket = AsSocket(wake_pipe_[0]);
  FD_SET(wake_socket, &readable);
  if (fd >= 0) FD_SET(AsSocket(fd), events == POLLOUT ? &writable : &readable);
  timeval limit{ms / 1000, (ms % 1000) * 1000};
  select(0, &readable, &writable, nullptr, ms < 0 ? nullptr : &limit);
  return !FD_ISSET(wake_socket, &readable);  // false when stopping; else ready or the time is up
}

void HostileServer::Serve() {
  for (;;) {
    if (!Wait(listen_fd_, POLLIN, -1)) return;
    SOCKET s = accept(AsSocket(listen_fd_), nullptr, nullptr);
    if (s == INVALID_SOCKET) continue;
    ++connections_;
    Run(AsFd(s));
    closesocket(s);
  }
}

void HostileServer::Run(int fd) {
  const SOCKET s = AsSocket(fd);
  for (const Step& step : script_) {
    switch (step.kind) {
      case Step::kReadRequest: {
        std::string request;
        size_t wanted = std::string::npos;  // total size once the head is complete
        char buffer[4096];
        while (request.size() < wanted) {
          if (!Wait(fd, POLLIN, 5000)) return;
          const int n = recv(s, buffer, sizeof buffer, 0);
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
        if (send(s, step.bytes.data(), static_cast<int>(step.bytes.size()), 0) < 0) return;
        break;
      case Step::kTrickle:
        for (char c : step.bytes) {
          if (send(s, &c, 1, 0) < 0) return;
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
