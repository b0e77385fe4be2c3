#include "reference-service/Server.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>

#include "library/service/ServiceAddress.h"

namespace reminder_service {

namespace {

// As long as a production server keeps an idle connection (IIS: two minutes), so that a save
// after a pause reuses it; libcurl drops its own idle connections a little sooner (118 s).
constexpr time_t kKeepAliveSeconds = 120;
// Every open connection holds a worker for as long as it is kept: room for a few browsers
// and clients at once.
constexpr size_t kWorkers = 64;

int LocalPort(int fd) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return -1;
  if (address.ss_family == AF_INET) return ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
  if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port);
  return -1;
}

// cpp-httplib's stop closes the listening socket and then waits for every connection's
// worker, and a worker on an idle kept-alive connection waits out the keep-alive time. Shutting
// the read side of each socket accepted on the port wakes those workers at once (the next
// request reads as the end), while an answer being written still goes out. The library does
// not hand out its sockets, so they are found among the process's open files.
void EndKeptConnections(int port) {
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const int fd = std::atoi(entry->d_name);
    if (fd <= 2 || fd == dirfd(dir) || LocalPort(fd) != port) continue;
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    // The listening socket has no peer; accepted connections do.
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0) shutdown(fd, SHUT_RD);
  }
  closedir(dir);
}

}  // namespace

ReminderServer::ReminderServer(ReminderStore& store) : endpoint_(store), pages_(store) {
  server_.set_payload_max_length(kMaxRequestBytes);
  server_.set_keep_alive_timeout(kKeepAliveSeconds);
  server_.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
  // A save makes fourteen calls in a row and the settings page ten, and a kept connection
  // serves many of them: end it after as many requests as nginx does, not the library's five.
  server_.set_keep_alive_max_count(1000);
  // The answer's head and body leave in two writes; without this the body waits for the
  // client's delayed acknowledgement of the head (about 40 ms on every reused connection).
  server_.set_tcp_nodelay(true);
  server_.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
    std::string what = "unknown error";
    try {
      std::rethrow_exception(ep);
    } catch (const std::exception& e) {
      what = e.what();
    } catch (...) {
    }
    res.status = 500;
    res.set_content("The service failed: " + what + "\n", "text/plain; charset=utf-8");
  });

  server_.Post(std::string(falcrest::kServicePath), [this](const httplib::Request& req, httplib::Response& res) {
    SoapCall call;
    call.body = req.body;
    if (req.has_header("SOAPAction")) call.soapAction = req.get_header_value("SOAPAction");
    call.host = req.get_header_value("Host");
    if (call.host.empty()) call.host = fallbackHost_;
    const SoapReply reply = endpoint_.Handle(call);
    res.status = reply.status;
    res.set_content(reply.body, SoapReply::kContentType);
  });
  pages_.Register(server_);
}

int ReminderServer::Bind(const std::string& address, int port) {
  int bound = port;
  if (port == 0) {
    bound = server_.bind_to_any_port(address);
  } else if (!server_.bind_to_port(address, port)) {
    bound = -1;
  }
  if (bound > 0) fallbackHost_ = address + ":" + std::to_string(bound);
  port_ = bound;
  return bound;
}

bool ReminderServer::Run() { return server_.listen_after_bind(); }

void ReminderServer::Stop() {
  server_.stop();
  if (port_ > 0) EndKeptConnections(port_);
}

}  // namespace reminder_service
