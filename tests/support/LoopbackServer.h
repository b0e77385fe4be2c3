#pragma once
// An HTTP server on a free loopback port for tests of the service client: it records every
// request as received and answers each with one canned answer (status, body, delay).
#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace falcrest::test {

struct CapturedRequest {
  std::string method;
  std::string target;   // path and query as sent
  std::string version;  // "HTTP/1.1"
  std::vector<std::pair<std::string, std::string>> headers;  // sorted by name, case ignored
  std::string body;     // exact bytes of the entity
  int remote_port = -1;

  // Number of headers of that name (case ignored).
  size_t HeaderCount(const std::string& name) const;
  // Value of the first header of that name, or the empty text.
  std::string Header(const std::string& name) const;
};

struct CannedAnswer {
  int status = 200;
  std::string body;
  std::string content_type = "text/xml; charset=utf-8";
  // Further headers of the answer, e.g. a Location.
  std::vector<std::pair<std::string, std::string>> headers;
  // Wait this long before answering (cut short when the server stops).
  std::chrono::milliseconds delay{0};
  // Send the body in chunks without Content-Length, so its size shows only while reading.
  bool chunked = false;
};

class LoopbackServer {
 public:
  // Starts listening on 127.0.0.1 at a free port; answers 200 with an empty body until told.
  // An idle kept-alive connection is closed after `keepAliveSeconds`, and holds up stopping
  // for as long.
  explicit LoopbackServer(int keepAliveSeconds = 1);
  // Stops the server, waking any delayed answer.
  ~LoopbackServer();

  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" + path.
  std::string Url(const std::string& path = "/WebService/OutlookPlugin.asmx") const;

  // Every following request gets this answer.
  void Answer(CannedAnswer answer);
  void Answer(const std::string& body, int status = 200);

  // The requests received so far, in arrival order.
  std::vector<CapturedRequest> Requests() const;
  // The latest request; fails the test when there was none.
  CapturedRequest LastRequest() const;
  // Client ports seen: one entry per TCP connection the client opened.
  std::set<int> RemotePorts() const;

 private:
  // The server itself: cpp-httplib in this process on POSIX; under Wine, one run by the test
  // servers' program beside it (a POSIX program that Wine reaches on 127.0.0.1).
  struct State;
  std::unique_ptr<State> state_;
  int port_ = 0;
};

}  // namespace falcrest::test
