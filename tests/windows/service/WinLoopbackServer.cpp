// The loopback server of tests/support on Winsock, for the Windows test programs: Debian's
// cpp-httplib is a Linux library, so the header's server slot is filled by a small HTTP/1.1
// server of our own. One thread per connection; requests with a Content-Length body; answers
// with a length or chunked; idle kept-alive connections closed after the keep-alive time.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <list>
#include <stdexcept>

#include "support/LoopbackServer.h"

namespace httplib {

using falcrest::test::CannedAnswer;
using falcrest::test::CapturedRequest;

class Server {
 public:
  using Handler = std::function<CannedAnswer(CapturedRequest)>;

  Server(Handler handler, int keep_alive_seconds) : handler_(std::move(handler)), keep_alive_ms_(keep_alive_seconds * 1000) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof where;
    if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&where), length) != 0 ||
        listen(listener_, 64) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&where), &length) != 0)
      throw std::runtime_error("LoopbackServer: no free port on 127.0.0.1");
    port_ = ntohs(where.sin_port);
    acceptor_ = std::thread([this] { Accept(); });
  }

  ~Server() {
    stopping_ = true;
    acceptor_.join();
    closesocket(listener_);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (SOCKET s : open_) shutdown(s, SD_BOTH);
    }
    for (std::thread& t : workers_) t.join();
    WSACleanup();
  }

  int Port() const { return port_; }

 private:
  // Waits until `s` is readable, the time is up or the server stops; true when readable.
  bool Readable(SOCKET s, int ms) {
    for (int waited = 0; !stopping_; waited += kSliceMs) {
      if (ms >= 0 && waited >= ms) return false;
      fd_set set;
      FD_ZERO(&set);
      FD_SET(s, &set);
      timeval slice{0, kSliceMs * 1000};
      const int ready = select(0, &set, nullptr, nullptr, &slice);
      if (ready != 0) return ready > 0;
    }
    return false;
  }

  void Accept() {
    while (!stopping_) {
      if (!Readable(listener_, -1)) continue;
      sockaddr_in peer{};
      int length = sizeof peer;
      SOCKET s = accept(listener_, reinterpret_cast<sockaddr*>(&peer), &length);
      if (s == INVALID_SOCKET) continue;
      const int remote_port = ntohs(peer.sin_port);
      // An answer goes out in one or two writes; the second must not wait for the first's ACK.
      const BOOL no_delay = TRUE;
      setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&no_delay), sizeof no_delay);
      std::lock_guard<std::mutex> lock(mutex_);
      open_.push_back(s);
      workers_.emplace_back([this, s, remote_port] {
        Serve(s, remote_port);
        std::lock_guard<std::mutex> inner(mutex_);
        open_.remove(s);
        closesocket(s);
      });
    }
  }

  void Serve(SOCKET s, int remote_port) {
    std::string pending;
    for (;;) {
      CapturedRequest request;
      if (!ReadRequest(s, pending, request)) return;
      request.remote_port = remote_port;
      const CannedAnswer answer = handler_(std::move(request));
      if (!Write(s, answer)) return;
    }
  }

  // Reads one request (head and Content-Length body) into `request`; false when the peer
  // closed, the connection idled past the keep-alive time or the server stops.
  bool ReadRequest(SOCKET s, std::string& pending, CapturedRequest& request) {
    size_t head_end = std::string::npos;
    size_t wanted = std::string::npos;
    while (pending.size() < wanted) {
      if (head_end == std::string::npos && (head_end = pending.find("\r\n\r\n")) != std::string::npos) {
        ParseHead(pending.substr(0, head_end), request);
        const std::string length = request.Header("Content-Length");
        wanted = head_end + 4 + (length.empty() ? 0 : std::strtoul(length.c_str(), nullptr, 10));
        continue;
      }
      if (!Readable(s, keep_alive_ms_)) return false;
      char buffer[64 * 1024];
      const int n = recv(s, buffer, sizeof buffer, 0);
      if (n <= 0) return false;
      pending.append(buffer, static_cast<size_t>(n));
    }
    request.body = pending.substr(head_end + 4, wanted - head_end - 4);
    pending.erase(0, wanted);
    return true;
  }

  static void ParseHead(const std::string& head, CapturedRequest& request) {
    size_t line_end = head.find("\r\n");
    const std::string line = head.substr(0, line_end);
    const size_t first = line.find(' ');
    const size_t second = line.find(' ', first + 1);
    request.method = line.substr(0, first);
    request.target = line.substr(first + 1, second - first - 1);
    request.version = line.substr(second + 1);
    while (line_end != std::string::npos && line_end < head.size()) {
      const size_t start = line_end + 2;
      line_end = head.find("\r\n", start);
      const std::string field = head.substr(start, line_end == std::string::npos ? std::string::npos : line_end - start);
      const size_t colon = field.find(':');
      if (colon == std::string::npos) continue;
      size_t value = colon + 1;
      while (value < field.size() && field[value] == ' ') ++value;
      request.headers.emplace_back(field.substr(0, colon), field.substr(value));
    }
    std::stable_sort(request.headers.begin(), request.headers.end(), [](const auto& a, const auto& b) {
      return std::lexicographical_compare(a.first.begin(), a.first.end(), b.first.begin(), b.first.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
      });
    });
  }

  static const char* Reason(int status) {
    switch (status) {
      case 200: return "OK";
      case 301: return "Moved Permanently";
      case 302: return "Found";
      case 500: return "Internal Server Error";
      case 502: return "Bad Gateway";
      default: return "Status";
    }
  }

  static bool SendAll(SOCKET s, const char* data, size_t size) {
    while (size > 0) {
      const int n = send(s, data, static_cast<int>(std::min<size_t>(size, 1 << 20)), 0);
      if (n <= 0) return false;
      data += n;
      size -= static_cast<size_t>(n);
    }
    return true;
  }

  static bool Write(SOCKET s, const CannedAnswer& answer) {
    std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " + Reason(answer.status) + "\r\n";
    if (!answer.content_type.empty()) head += "Content-Type: " + answer.content_type + "\r\n";
    for (const auto& h : answer.headers) head += h.first + ": " + h.second + "\r\n";
    head += "Keep-Alive: timeout=5, max=1000\r\n";
    if (!answer.chunked) {
      head += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n\r\n";
      head += answer.body;
      return SendAll(s, head.data(), head.size());
    }
    head += "Transfer-Encoding: chunked\r\n\r\n";
    if (!SendAll(s, head.data(), head.size())) return false;
    for (size_t offset = 0; offset < answer.body.size(); offset += 64 * 1024) {
      const size_t n = std::min<size_t>(64 * 1024, answer.body.size() - offset);
      char size_line[32];
      std::snprintf(size_line, sizeof size_line, "%zx\r\n", n);
      if (!SendAll(s, size_line, std::strlen(size_line)) || !SendAll(s, answer.body.data() + offset, n) ||
          !SendAll(s, "\r\n", 2))
        return false;
    }
    return SendAll(s, "0\r\n\r\n", 5);
  }

  static constexpr int kSliceMs = 20;

  Handler handler_;
  int keep_alive_ms_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;
  std::mutex mutex_;
  std::list<SOCKET> open_;
  std::vector<std::thread> workers_;
};

}  // namespace httplib

namespace falcrest::test {
namespace {

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

size_t CapturedRequest::HeaderCount(const std::string& name) const {
  return static_cast<size_t>(std::count_if(headers.begin(), headers.end(),
                                           [&](const auto& h) { return SameName(h.first, name); }));
}

std::string CapturedRequest::Header(const std::string& name) const {
  for (const auto& h : headers)
    if (SameName(h.first, name)) return h.second;
  return "";
}

LoopbackServer::LoopbackServer(int keepAliveSeconds) {
  auto handle = [this](CapturedRequest captured) {
    std::unique_lock<std::mutex> lock(mutex_);
    requests_.push_back(std::move(captured));
    CannedAnswer answer = answer_;
    if (answer.delay.count() > 0) stopping_cv_.wait_for(lock, answer.delay, [this] { return stopping_; });
    return answer;
  };
  server_ = std::make_unique<httplib::Server>(handle, keepAliveSeconds);
  port_ = server_->Port();
}

LoopbackServer::~LoopbackServer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  stopping_cv_.notify_all();
  server_.reset();
}

std::string LoopbackServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackServer::Answer(CannedAnswer answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answer_ = std::move(answer);
}

void LoopbackServer::Answer(const std::string& body, int status) {
  CannedAnswer answer;
  answer.body = body;
  answer.status = status;
  Answer(std::move(answer));
}

std::vector<CapturedRequest> LoopbackServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

CapturedRequest LoopbackServer::LastRequest() const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (requests_.empty()) {
    ADD_FAILURE() << "the loopback server received no request";
    return {};
  }
  return requests_.back();
}

std::set<int> LoopbackServer::RemotePorts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::set<int> ports;
  for (const CapturedRequest& r : requests_) ports.insert(r.remote_port);
  return ports;
}

}  // namespace falcrest::test
