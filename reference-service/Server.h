#pragma once
// The HTTP server of the reminder service: the SOAP endpoint and the web pages on one port.
#include <httplib.h>

#include <cstddef>
#include <string>

#include "reference-service/Pages.h"
#include "reference-service/ReminderStore.h"
#include "reference-service/SoapEndpoint.h"

namespace reminder_service {

// Largest request body taken; larger ones are answered with 413.
inline constexpr size_t kMaxRequestBytes = 1024 * 1024;

class ReminderServer {
 public:
  explicit ReminderServer(ReminderStore& store);

  // Binds to the address; port 0 picks a free one. Returns the port, or -1 on failure.
  int Bind(const std::string& address, int port);
  // Serves until Stop is called (from any thread). False when serving failed.
  bool Run();
  // Stops at once: no new connections, and idle kept-alive ones are closed; an answer being
  // written still goes out.
  void Stop();

 private:
  SoapEndpoint endpoint_;
  WebPages pages_;
  httplib::Server server_;
  std::string fallbackHost_;
  int port_ = -1;
};

}  // namespace reminder_service
