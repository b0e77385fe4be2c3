#include "bench/LatencyProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <deque>
#include <set>
#include <stdexcept>

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

void NoDelay(int fd) {
  int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

int ConnectLoopback(int port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  NoDelay(fd);
  return fd;
}

// Follows the HTTP/1.1 framing of the client's side (head, then Content-Length bytes of
// body) and counts the heads that start "POST ", across chunk boundaries.
class RequestCounter {
 public:
  // Number of request heads completed by these bytes.
  int Feed(const char* data, size_t size) {
    int found = 0;
    size_t i = 0;
    while (i < size) {
      if (body_left_ > 0) {
        const size_t skip = std::min(body_left_, size - i);
        body_left_ -= skip;
        i += skip;
        continue;
      }
      head_.push_back(data[i++]);
      if (head_.size() >= 4 && head_.compare(head_.size() - 4, 4, "\r\n\r\n") == 0) {
        if (head_.compare(0, 5, "POST ") == 0) ++found;
        body_left_ = ContentLength(head_);
        head_.clear();
      }
    }
    return found;
  }

 private:
  static size_t ContentLength(const std::string& head) {
    static const char kName[] = "\r\ncontent-length:";
    std::string lower = head;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const size_t at = lower.find(kName);
    return at == std::string::npos ? 0 : std::strtoul(lower.c_str() + at + sizeof kName - 1, nullptr, 10);
  }

  std::string head_;
  size_t body_left_ = 0;
};

}  // namespace

// One proxied connection: a reader and a writer per direction. Readers stamp each chunk
// with the time it may leave; writers sleep until then, so chunks overlap in flight.
class LatencyProxy::Connection {
 public:
  // The handshake with a distant service costs a round trip before the first byte leaves.
  Connection(LatencyProxy& proxy, uint64_t id, int clientFd, std::chrono::microseconds delay)
      : proxy_(proxy), id_(id), client_fd_(clientFd), ready_at_(Clock::now() + 2 * delay) {}

  ~Connection() {
    if (client_fd_ >= 0) close(client_fd_);
    if (upstream_fd_ >= 0) close(upstream_fd_);
  }

  void Start() {
    threads_.emplace_back([this] { ReadClient(); });
    threads_.emplace_back([this] { Precise(), WriteUpstream(); });
    threads_.emplace_back([this] { ReadUpstream(); });
    threads_.emplace_back([this] { Precise(), WriteClient(); });
  }

  // Ends both directions at once; threads return soon after.
  void Shutdown() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    shutdown(client_fd_, SHUT_RDWR);
    std::lock_guard<std::mutex> lock(mutex_);
    if (upstream_fd_ >= 0) shutdown(upstream_fd_, SHUT_RDWR);
  }

  void Join() {
    for (std::thread& t : threads_) t.join();
    threads_.clear();
  }

 private:
  // The writers sleep until a chunk is due: without this the kernel may let such a sleep
  // run 50 us long, on every chunk.
  static void Precise() { prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL); }

  struct Chunk {
    Clock::time_point due;
    std::string bytes;  // empty: end of stream
  };

  void Push(std::deque<Chunk>& queue, Chunk chunk) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      queue.push_back(std::move(chunk));
    }
    changed_.notify_all();
  }

  // The next chunk once it is due, or false when stopping.
  bool PopDue(std::deque<Chunk>& queue, Chunk& chunk) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      if (stopping_) return false;
      if (!queue.empty()) {
        const Clock::time_point due = queue.front().due;
        if (Clock::now() >= due) break;
        changed_.wait_until(lock, due);
      } else {
        changed_.wait(lock);
      }
    }
    chunk = std::move(queue.front());
    queue.pop_front();
    return true;
  }

  void ReadClient() {
    RequestCounter counter;
    char buffer[64 * 1024];
    for (;;) {
      ssize_t n = recv(client_fd_, buffer, sizeof buffer, 0);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      const Clock::time_point now = Clock::now();
      for (int i = counter.Feed(buffer, static_cast<size_t>(n)); i > 0; --i) proxy_.RequestSeen(id_);
      proxy_.CaptureBytes(buffer, static_cast<size_t>(n));
      Push(to_upstream_, Chunk{std::max(now, ready_at_) + proxy_.Delay(), std::string(buffer, static_cast<size_t>(n))});
    }
    Push(to_upstream_, Chunk{std::max(Clock::now(), ready_at_) + proxy_.Delay(), std::string()});
  }

  void WriteUpstream() {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait_until(lock, ready_at_, [this] { return stopping_; });
      if (stopping_) return;
    }
    const int fd = ConnectLoopback(proxy_.upstream_port_);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      upstream_fd_ = fd;
      upstream_known_ = true;
    }
    changed_.notify_all();
    if (fd < 0) {
      shutdown(client_fd_, SHUT_RDWR);
      return;
    }
    Chunk chunk;
    while (PopDue(to_upstream_, chunk)) {
      if (chunk.bytes.empty()) {
        shutdown(fd, SHUT_WR);
        return;
      }
      if (!WriteAll(fd, chunk.bytes.data(), chunk.bytes.size())) return;
    }
  }

  void ReadUpstream() {
    int fd = -1;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return stopping_ || upstream_known_; });
      if (stopping_ || upstream_fd_ < 0) {
        lock.unlock();
        Push(to_client_, Chunk{Clock::now(), std::string()});
        return;
      }
      fd = upstream_fd_;
    }
    char buffer[64 * 1024];
    for (;;) {
      ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      Push(to_client_, Chunk{Clock::now() + proxy_.Delay(), std::string(buffer, static_cast<size_t>(n))});
    }
    Push(to_client_, Chunk{Clock::now() + proxy_.Delay(), std::string()});
  }

  void WriteClient() {
    Chunk chunk;
    while (PopDue(to_client_, chunk)) {
      if (chunk.bytes.empty()) {
        shutdown(client_fd_, SHUT_WR);
        return;
      }
      if (!WriteAll(client_fd_, chunk.bytes.data(), chunk.bytes.size())) return;
    }
  }

  LatencyProxy& proxy_;
  const uint64_t id_;
  const int client_fd_;
  Clock::time_point ready_at_;

  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopping_ = false;
  int upstream_fd_ = -1;
  bool upstream_known_ = false;
  std::deque<Chunk> to_upstream_;
  std::deque<Chunk> to_client_;
  std::vector<std::thread> threads_;
};

LatencyProxy::LatencyProxy(int upstreamPort) : upstream_port_(upstreamPort) {}

LatencyProxy::~LatencyProxy() { Stop(); }

int LatencyProxy::Start() {
  listen_fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listen_fd_ < 0) throw std::runtime_error("proxy: no socket");
  int on = 1;
  setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = 0;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listen_fd_, 64) != 0 ||
      getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error(std::string("proxy: cannot listen on loopback: ") + std::strerror(errno));
  }
  acceptor_ = std::thread([this] { AcceptLoop(); });
  return ntohs(address.sin_port);
}

void LatencyProxy::Stop() {
  std::list<std::shared_ptr<Connection>> connections;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
    connections.swap(connections_);
  }
  if (listen_fd_ >= 0) shutdown(listen_fd_, SHUT_RDWR);
  if (acceptor_.joinable()) acceptor_.join();
  if (listen_fd_ >= 0) close(listen_fd_);
  listen_fd_ = -1;
  for (auto& c : connections) c->Shutdown();
  for (auto& c : connections) c->Join();
}

void LatencyProxy::AcceptLoop() {
  for (;;) {
    int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // shut down
    }
    NoDelay(fd);
    const std::chrono::microseconds delay = Delay();
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
      close(fd);
      return;
    }
    auto connection = std::make_shared<Connection>(*this, accepted_++, fd, delay);
    connections_.push_back(connection);
    connection->Start();
  }
}

void LatencyProxy::SetOneWayDelay(std::chrono::microseconds delay) {
  std::lock_guard<std::mutex> lock(mutex_);
  delay_ = delay;
}

std::chrono::microseconds LatencyProxy::Delay() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return delay_;
}

void LatencyProxy::RequestSeen(uint64_t connectionId) {
  std::lock_guard<std::mutex> lock(mutex_);
  request_connections_.push_back(connectionId);
}

LatencyProxy::Counts LatencyProxy::Snapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return Counts{accepted_, request_connections_.size()};
}

size_t LatencyProxy::ConnectionsCarrying(uint64_t fromRequest) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::set<uint64_t> ids;
  for (size_t i = fromRequest; i < request_connections_.size(); ++i) ids.insert(request_connections_[i]);
  return ids.size();
}

void LatencyProxy::CaptureNextRequest() {
  std::lock_guard<std::mutex> lock(mutex_);
  capturing_ = true;
  capture_.clear();
}

void LatencyProxy::CaptureBytes(const char* data, size_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (capturing_) capture_.append(data, size);
}

std::string LatencyProxy::TakeCapture() {
  std::lock_guard<std::mutex> lock(mutex_);
  capturing_ = false;
  return std::move(capture_);
}

}  // namespace bench
