#pragma once
// A loopback TCP proxy that puts a fixed one-way delay on every chunk in each direction and
// one round trip on each new connection's set-up, so that a loopback service behaves like a
// distant one. Chunks keep their order and are released at their own arrival time plus the
// delay, so the pipe is delayed, not serialised. It counts the connections it accepted and
// the HTTP requests it saw (request lines starting "POST ").
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace bench {

class LatencyProxy {
 public:
  // Forwards to 127.0.0.1:upstreamPort.
  explicit LatencyProxy(int upstreamPort);
  ~LatencyProxy();
  LatencyProxy(const LatencyProxy&) = delete;
  LatencyProxy& operator=(const LatencyProxy&) = delete;

  // Listens on a free loopback port and returns it; throws std::runtime_error on failure.
  int Start();
  // Closes every connection and joins every thread.
  void Stop();

  // The one-way delay for chunks that arrive from now on (a round trip is twice this).
  void SetOneWayDelay(std::chrono::microseconds delay);

  struct Counts {
    uint64_t connections = 0;  // accepted so far
    uint64_t requests = 0;     // "POST " request lines seen so far
  };
  Counts Snapshot() const;
  // Number of distinct connections that carried the requests after the first `fromRequest`.
  size_t ConnectionsCarrying(uint64_t fromRequest) const;
  // The client-to-service bytes of the next whole request seen (for replaying it); call
  // CaptureNextRequest first, make the request, then TakeCapture.
  void CaptureNextRequest();
  std::string TakeCapture();

 private:
  class Connection;
  friend class Connection;

  void AcceptLoop();
  void RequestSeen(uint64_t connectionId);
  void CaptureBytes(const char* data, size_t size);
  std::chrono::microseconds Delay() const;

  const int upstream_port_;
  int listen_fd_ = -1;
  std::thread acceptor_;

  mutable std::mutex mutex_;
  std::chrono::microseconds delay_{0};
  bool stopping_ = false;
  std::list<std::shared_ptr<Connection>> connections_;
  uint64_t accepted_ = 0;
  std::vector<uint64_t> request_connections_;  // connection id of each request, in order
  bool capturing_ = false;
  std::string capture_;
};

}  // namespace bench
