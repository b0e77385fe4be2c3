#pragma once
// A misbehaving HTTP server on a loopback port: one thread, one connection at a time, and for each connection a script of steps (read the request, send
// bytes, trickle them, pause, hang up). Everything it waits on is cut short when it stops.
#include <memory>
#include <string>
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

// For the test servers' program: a script as text fields and back.
std::vector<std::string> ScriptFields(const Script& script);
Script ScriptOf(const std::vector<std::string>& fields, size_t at);

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
  int Connections() const;
  // The requests read so far, each as received (head and body).
  std::vector<std::string> Requests() const;

 private:
  // The server itself: a thread on POSIX sockets in this process; under Wine, one run by the
  // test servers' program beside it (a POSIX program that Wine reaches on 127.0.0.1).
  struct State;
  std::unique_ptr<State> state_;
  std::string address_;
  int port_ = 0;
};

}  // namespace faults
