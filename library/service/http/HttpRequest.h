#pragma once
// The HTTP request seam: one synchronous POST with headers, giving status and raw body.
// Transport failures raise falcrest::Error with number kTransportBase + the failure kind
// and a description that says which failure, and where.
#include <cstddef>
#include <memory>
#include <string>

namespace falcrest::http {

enum class Failure {
  kBadUrl = 1,        // empty or malformed URL, unsupported scheme
  kResolve = 2,       // host name not found
  kConnect = 3,       // connection refused or unreachable
  kTimeout = 4,       // connect or whole-exchange timeout
  kReset = 5,         // connection closed or reset mid-exchange
  kTooLarge = 6,      // answer over the size limit
  kProtocol = 7,      // anything else the stack reports
};

// Bounds on every exchange, so that a dead or hostile server cannot freeze the caller.
struct Limits {
  long connect_timeout_ms = 10'000;
  long total_timeout_ms = 30'000;
  size_t max_response_bytes = 8u * 1024u * 1024u;
};

// The limits in force for new requests; tests and tools may lower them.
Limits& CurrentLimits();

struct Response {
  long status = 0;
  std::string body;
  std::string content_type;  // the answer's Content-Type header, empty when absent
};

class Request {
 public:
  virtual ~Request() = default;
  // Remembers method and URL; a malformed URL fails here or at Send.
  virtual void Open(const std::string& method, const std::string& url) = 0;
  // Sends the header with exactly this name and value.
  virtual void SetRequestHeader(const std::string& name, const std::string& value) = 0;
  // Sends the body and blocks until the whole answer has arrived; raises on failure.
  virtual Response Send(const std::string& body) = 0;
};

// A new request object from the platform's backend. Connections may be reused between
// request objects the way the platform's stack does it (keep-alive).
std::unique_ptr<Request> NewRequest();

}  // namespace falcrest::http
