// WinINet leaves a connection attempt that is never answered waiting far past its own connect
// timeout (over two minutes under Wine): the backend's own deadline must end it.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <string>
#include <vector>

#include "library/service/WebService.h"
#include "library/service/http/HttpRequest.h"
#include "library/support/Error.h"

namespace {

using Clock = std::chrono::steady_clock;

// A listener whose backlog is full and that never accepts: further connection attempts get
// no answer at all.
class FullBacklog {
 public:
  FullBacklog() {
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    address_.sin_family = AF_INET;
    address_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address_;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address_), length) != 0 || listen(listener_, 1) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address_), &length) != 0)
      throw std::runtime_error("cannot listen on loopback");
    for (int i = 0; i < 4; ++i) {
      SOCKET filler = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
      u_long non_blocking = 1;
      ioctlsocket(filler, FIONBIO, &non_blocking);
      connect(filler, reinterpret_cast<sockaddr*>(&address_), sizeof address_);
      fillers_.push_back(filler);
    }
  }
  ~FullBacklog() {
    for (SOCKET s : fillers_) closesocket(s);
    closesocket(listener_);
  }
  std::string Url() const {
    return "http://127.0.0.1:" + std::to_string(ntohs(address_.sin_port)) + "/WebService/OutlookPlugin.asmx";
  }

 private:
  SOCKET listener_ = INVALID_SOCKET;
  sockaddr_in address_{};
  std::vector<SOCKET> fillers_;
};

TEST(TransportFailure, ConnectionNeverAcceptedEndsWithinTheConnectLimit) {
  const falcrest::http::Limits saved = falcrest::http::CurrentLimits();
  falcrest::http::CurrentLimits().connect_timeout_ms = 1000;
  FullBacklog server;
  falcrest::WebService service;
  service.WebServiceURL = server.Url();
  std::string response;
  const Clock::time_point start = Clock::now();
  try {
    service.CallWebMethod("CreateReminder", "<M/>", response);
    ADD_FAILURE() << "no error raised";
  } catch (const falcrest::Error& e) {
    EXPECT_EQ(e.Number(), falcrest::error_number::kTransportBase + static_cast<int>(falcrest::http::Failure::kTimeout));
    EXPECT_EQ(e.Description(), "Cannot reach the reminder service at " + server.Url() + ": no connection within 1 second");
  }
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_GE(elapsed, 900);
  EXPECT_LT(elapsed, 2500);
  falcrest::http::CurrentLimits() = saved;
}

}  // namespace
