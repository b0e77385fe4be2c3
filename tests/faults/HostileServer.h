#pragma once
// A misbehaving HTTP server on a loopback port, on plain POSIX sockets: one thread, one
// connection at a time, and for each connection a script of steps (read the request, send
// bytes, trickle them, pause, hang up). Everything it waits on is cut short when it stops.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace faults {

struct Step {
  enum Kind {
    kReadRequest,  // read the request line, headers and a Content-Length body
    kSend,         // send `bytes` at once
    kTrickle,      // send `bytes` one byte every `ms` milliseconds
    kPause,        // wait `ms` milliseconds
    kHangUp,       // close the connection (also done after the last step)
  };
  Kind kind;
  std::string bytes;
  int ms = 0;
};
using Script = std::vector<Step>;

Step ReadRequest();
Step Send(std::string bytes);
Step Trickle(std::string bytes, int ms);
Step Pause(int ms);
Step HangUp();

class HostileServer {
 public:
  // Listens on `address` (any 127.x.y.z) at a free port; every connection gets `script`.
  explicit HostileServer(Script script, const std::string& address = "127.0.0.1");
  // Stops the thread, ending any step in progress.
  ~HostileServer();
  HostileServer(const HostileServer&) = delete;
  HostileServer& operator=(const HostileServer&) = delete;

  int Port() const { return port_; }
  // "http://<address>:<port>/WebService/OutlookPlugin.asmx".
  std::string Url() const;
  // Connections accepted so far.
  int Connections() const { return connections_; }
  // The requests read so far, each as received (head and body).
  std::vector<std::string> Requests() const;

 private:
  void Serve();
  void Run(int fd);
  // Waits until `fd` is readable (or writable) or the server stops; false when stopping.
  bool Wait(int fd, short events, int ms);

  Script script_;
  std::string address_;
  int listen_fd_ = -1;
  int wake_pipe_[2] = {-1, -1};
  int port_ = 0;
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace faults
