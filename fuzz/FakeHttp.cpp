// A definition of falcrest::http::NewRequest that never touches the network.
#include "fuzz/FakeHttp.h"

#include <memory>
#include <string>
#include <utility>

#include "library/service/http/HttpRequest.h"

namespace falcrest::fuzzing {
namespace {

struct FakeServer {
  std::string answer;
  std::function<std::string(const std::string&)> responder;
  std::string last_request;
};

FakeServer& Server() {
  static FakeServer server;
  return server;
}

}  // namespace

void SetAnswer(std::string body) { Server().answer = std::move(body); }
void SetResponder(std::function<std::string(const std::string&)> responder) {
  Server().responder = std::move(responder);
}
const std::string& LastRequestBody() { return Server().last_request; }

}  // namespace falcrest::fuzzing

namespace falcrest::http {
namespace {

class FakeRequest : public Request {
 public:
  void Open(const std::string&, const std::string&) override {}
  void SetRequestHeader(const std::string&, const std::string&) override {}
  Response Send(const std::string& body) override {
    auto& server = fuzzing::Server();
    server.last_request = body;
    Response response;
    response.status = 200;
    response.content_type = "text/xml; charset=utf-8";
    response.body = server.responder ? server.responder(body) : server.answer;
    return response;
  }
};

}  // namespace

std::unique_ptr<Request> NewRequest() { return std::make_unique<FakeRequest>(); }

}  // namespace falcrest::http
