// Transport failures and bounds: each ends as a clear error naming the failure and where;
// and a sequence of calls rides one kept-alive connection.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/LoopbackServer.h"
#include "SoapText.h"
#include "library/service/WebService.h"
#include "library/service/http/HttpRequest.h"
#include "library/support/Error.h"

namespace falcrest::test {
namespace {

using Clock = std::chrono::steady_clock;
using http::Failure;

// Lowers the transport limits for one test and puts them back after it.
class ScopedLimits {
 public:
  explicit ScopedLimits(http::Limits limits) : saved_(http::CurrentLimits()) { http::CurrentLimits() = limits; }
  ~ScopedLimits() { http::CurrentLimits() = saved_; }

 private:
  http::Limits saved_;
};

// Calls the service and gives back the error it raised; fails the test when none was.
Error CallError(const std::string& url, const std::string& method = "CreateReminder") {
  WebService service;
  service.WebServiceURL = url;
  std::string response = "untouched";
  try {
    service.CallWebMethod(method, "<M/>", response);
  } catch (const Error& e) {
    EXPECT_EQ(response, "untouched");
    return e;
  }
  ADD_FAILURE() << "no error raised for " << url;
  return Error(0, "", "");
}

int64_t TransportNumber(Failure kind) { return error_number::kTransportBase + static_cast<int>(kind); }

TEST(TransportFailure, BadUrlsAreNamed) {
  struct Row {
    std::string url;
    std::string description;
  } rows[] = {
      {"", "The reminder service URL is empty: set WebServiceURL in the settings"},
      {"not a url", "The reminder service URL \"not a url\" is not a valid URL"},
      {"ftp://127.0.0.1/x", "The reminder service URL \"ftp://127.0.0.1/x\" is not an http or https URL"},
  };
  for (const Row& row : rows) {
    Error e = CallError(row.url);
    EXPECT_EQ(e.Number(), TransportNumber(Failure::kBadUrl)) << row.url;
    EXPECT_EQ(e.Source(), "Falcrest.WebService") << row.url;
    EXPECT_EQ(e.Description(), row.description);
  }
}

TEST(TransportFailure, RefusedConnectionSaysSoAndWhere) {
  std::string url;
  {
    LoopbackServer closed;  // a port that was free a moment ago, and is again
    url = closed.Url();
  }
  Error e = CallError(url);
  EXPECT_EQ(e.Number(), TransportNumber(Failure::kConnect));
  EXPECT_EQ(e.Source(), "Falcrest.WebService");
  EXPECT_EQ(e.Description(), "Cannot reach the reminder service at " + url + ": connection refused");
}

TEST(TransportFailure, SilentServerEndsWithinTheWholeExchangeLimit) {
  http::Limits limits;
  limits.total_timeout_ms = 1500;
  ScopedLimits scoped(limits);
  LoopbackServer server;
  CannedAnswer silent;
  silent.body = ResultAnswer("CreateReminder", "");
  silent.delay = std::chrono::seconds(60);
  server.Answer(silent);

  Clock::time_point start = Clock::now();
  Error e = CallError(server.Url());
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);

  EXPECT_EQ(e.Number(), TransportNumber(Failure::kTimeout));
  EXPECT_EQ(e.Description(), "The reminder service at " + server.Url() + " did not answer within 1500 milliseconds");
  EXPECT_GE(elapsed.count(), 1400);
  EXPECT_LT(elapsed.count(), 3000);

  // The abandoned connection must not spoil the next call.
  server.Answer(ResultAnswer("CreateReminder", "<ErrorMessage>ok</ErrorMessage>"));
  WebService service;
  service.WebServiceURL = server.Url();
  std::string response;
  EXPECT_TRUE(service.CallWebMethod("CreateReminder", "<M/>", response));
  EXPECT_EQ(response, "<CreateReminderResult><ErrorMessage>ok</ErrorMessage></CreateReminderResult>");
}

TEST(TransportFailure, AnswerSizeIsBoundedWithAndWithoutContentLength) {
  http::Limits limits;
  limits.max_response_bytes = 64 * 1024;
  ScopedLimits scoped(limits);
  LoopbackServer server;
  WebService service;
  service.WebServiceURL = server.Url();

  for (bool chunked : {false, true}) {
    SCOPED_TRACE(chunked ? "chunked" : "with Content-Length");
    // Exactly at the limit: read.
    const std::string head = ResultAnswer("ModifyReminderByEventId", "");
    CannedAnswer fits;
    fits.chunked = chunked;
    fits.body = head + std::string(limits.max_response_bytes - head.size(), ' ');
    server.Answer(fits);
    std::string response = "untouched";
    EXPECT_TRUE(service.CallWebMethod("ModifyReminderByEventId", "<M/>", response));
    EXPECT_EQ(response, "");

    // One byte more: refused.
    CannedAnswer over = fits;
    over.body += ' ';
    server.Answer(over);
    Error e = CallError(server.Url(), "ModifyReminderByEventId");
    EXPECT_EQ(e.Number(), TransportNumber(Failure::kTooLarge));
    EXPECT_EQ(e.Description(), "The reminder service's answer is larger than 64 KiB (" + server.Url() + ")");
  }
}

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
void CloseSocket(Socket s) { ::closesocket(s); }
#else
using Socket = int;
constexpr Socket kNoSocket = -1;
void CloseSocket(Socket s) { ::close(s); }
#endif

// A listener that reads each request and hangs up without a word.
class HangUpServer {
 public:
  HangUpServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(listener_, 4) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("HangUpServer: cannot listen on loopback");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] {
      for (;;) {
        Socket connection = ::accept(listener_, nullptr, nullptr);
        if (connection == kNoSocket || stopping_) {
          if (connection != kNoSocket) CloseSocket(connection);
          return;
        }
        char buffer[4096];
        (void)::recv(connection, buffer, sizeof buffer, 0);
        CloseSocket(connection);
      }
    });
  }
  ~HangUpServer() {
    stopping_ = true;
#ifdef _WIN32
    // Winsock ends no accept on shutdown: a connection of our own wakes it.
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port_));
    Socket wake = ::socket(AF_INET, SOCK_STREAM, 0);
    ::connect(wake, reinterpret_cast<sockaddr*>(&address), sizeof address);
    thread_.join();
    CloseSocket(wake);
    CloseSocket(listener_);
#else
    ::shutdown(listener_, SHUT_RDWR);
    ::close(listener_);
    thread_.join();
#endif
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/WebService/OutlookPlugin.asmx"; }

 private:
  Socket listener_ = kNoSocket;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

TEST(TransportFailure, HangUpWithoutAnswerIsAReset) {
  HangUpServer server;
  Error e = CallError(server.Url());
  EXPECT_EQ(e.Number(), TransportNumber(Failure::kReset));
  EXPECT_EQ(e.Description(),
            "The reminder service at " + server.Url() + " closed the connection before its answer was complete");
}

TEST(TransportConnection, CallsFromSeveralThreadsShareTheCacheSafely) {
  LoopbackServer server;
  server.Answer(ResultAnswer("GetReminderIds", "<int>7</int>"));
  std::atomic<int> answered{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      WebService service;
      service.WebServiceURL = server.Url();
      for (int i = 0; i < 5; ++i) {
        std::string response;
        if (service.CallWebMethod("GetReminderIds", "<M/>", response) && !response.empty()) ++answered;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(answered.load(), 20);
  EXPECT_LT(server.RemotePorts().size(), 20u) << "no connection was reused";
}

TEST(TransportConnection, SequenceOfCallsRidesOneConnection) {
  LoopbackServer server(5);  // generous, so that a busy machine does not close it between calls
  server.Answer(ResultAnswer("GetReminderIds", "<int>7</int>"));
  for (int i = 0; i < 6; ++i) {
    WebService service;  // a fresh object each time, as the add-in's handlers do
    service.WebServiceURL = server.Url();
    std::string response;
    ASSERT_TRUE(service.CallWebMethod("GetReminderIds", "<M/>", response)) << "call " << i;
  }
  EXPECT_EQ(server.Requests().size(), 6u);
  EXPECT_EQ(server.RemotePorts().size(), 1u) << "each call opened its own connection";
}

TEST(TransportConnection, RedirectIsNotFollowed) {
  LoopbackServer server;
  CannedAnswer moved;
  moved.status = 302;
  moved.body = "<html><body>Moved</body></html>";
  moved.headers = {{"Location", server.Url("/elsewhere")}};
  server.Answer(moved);
  // The answer is read like any other page: no response element.
  Error e = CallError(server.Url());
  EXPECT_EQ(e.Number(), error_number::kMissingObject);
  EXPECT_EQ(server.Requests().size(), 1u);
}

}  // namespace
}  // namespace falcrest::test
