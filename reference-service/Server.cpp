#include "reference-service/Server.h"

#include "library/service/ServiceAddress.h"

namespace reminder_service {

ReminderServer::ReminderServer(ReminderStore& store) : endpoint_(store), pages_(store) {
  server_.set_payload_max_length(kMaxRequestBytes);
  // An idle kept-alive connection holds a worker, and a stop waits for it: keep that short.
  server_.set_keep_alive_timeout(1);
  // A save makes fourteen calls in a row and the settings page ten: let them ride one
  // connection rather than the library's default of five requests per connection.
  server_.set_keep_alive_max_count(100);
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
  return bound;
}

bool ReminderServer::Run() { return server_.listen_after_bind(); }

}  // namespace reminder_service
