#pragma once
// A service in front of the reference service that passes every call through except
// CreateReminder, which it answers with a SOAP fault: the service refusing a create.
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace host::e2e {

class RefusingProxy {
 public:
  // Listens on a free loopback port and forwards to the service at that port.
  explicit RefusingProxy(int servicePort);
  ~RefusingProxy();
  RefusingProxy(const RefusingProxy&) = delete;
  RefusingProxy& operator=(const RefusingProxy&) = delete;

  // "http://127.0.0.1:PORT".
  std::string BaseUrl() const;

 private:
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace host::e2e
