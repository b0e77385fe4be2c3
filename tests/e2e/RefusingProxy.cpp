#include "RefusingProxy.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>

namespace host::e2e {

RefusingProxy::RefusingProxy(int servicePort) : server_(std::make_unique<httplib::Server>()) {
  server_->Post(".*", [servicePort](const httplib::Request& req, httplib::Response& res) {
    const std::string action = req.get_header_value("SOAPAction");
    if (action.find("CreateReminder") != std::string::npos) {
      res.status = 500;
      res.set_content(
          "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
          "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><soap:Fault>"
          "<faultcode>soap:Server</faultcode><faultstring>Creating reminders is switched off</faultstring>"
          "</soap:Fault></soap:Body></soap:Envelope>",
          "text/xml; charset=utf-8");
      return;
    }
    httplib::Client service("127.0.0.1", servicePort);
    auto answer = service.Post(req.path, httplib::Headers{{"SOAPAction", action}}, req.body,
                               req.get_header_value("Content-Type"));
    if (!answer) {
      res.status = 502;
      return;
    }
    res.status = answer->status;
    res.set_content(answer->body, answer->get_header_value("Content-Type"));
  });
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("the refusing proxy cannot listen on loopback");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

RefusingProxy::~RefusingProxy() {
  server_->stop();
  thread_.join();
}

std::string RefusingProxy::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

}  // namespace host::e2e
