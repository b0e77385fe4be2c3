// The loopback server on cpp-httplib, in the test's own process.
#include <httplib.h>

#include <strings.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "LoopbackServer.h"

namespace falcrest::test {
namespace {

// The server adds the peer's address as pseudo-headers; they were not sent.
bool PseudoHeader(const std::string& name) {
  for (const char* pseudo : {"REMOTE_ADDR", "REMOTE_PORT", "LOCAL_ADDR", "LOCAL_PORT"}) {
    if (strcasecmp(name.c_str(), pseudo) == 0) return true;
  }
  return false;
}

}  // namespace

struct LoopbackServer::State {
  httplib::Server server;
  std::thread thread;
  mutable std::mutex mutex;
  std::condition_variable stopping_cv;
  bool stopping = false;
  CannedAnswer answer;
  std::vector<CapturedRequest> requests;
};

LoopbackServer::LoopbackServer(int keepAliveSeconds) : state_(std::make_unique<State>()) {
  // Keep connections open across many requests so that the client can reuse them.
  state_->server.set_keep_alive_max_count(1000);
  state_->server.set_keep_alive_timeout(keepAliveSeconds);

  auto handle = [this](const httplib::Request& req, httplib::Response& res) {
    CannedAnswer answer;
    {
      std::unique_lock<std::mutex> lock(state_->mutex);
      CapturedRequest captured;
      captured.method = req.method;
      captured.target = req.target;
      captured.version = req.version;
      for (const auto& h : req.headers) {
        if (!PseudoHeader(h.first)) captured.headers.emplace_back(h.first, h.second);
      }
      captured.body = req.body;
      captured.remote_port = req.remote_port;
      state_->requests.push_back(std::move(captured));
      answer = state_->answer;
      if (answer.delay.count() > 0) state_->stopping_cv.wait_for(lock, answer.delay, [this] { return state_->stopping; });
    }
    res.status = answer.status;
    for (const auto& h : answer.headers) res.set_header(h.first, h.second);
    if (!answer.chunked) {
      res.set_content(answer.body, answer.content_type);
      return;
    }
    auto body = std::make_shared<std::string>(std::move(answer.body));
    res.set_chunked_content_provider(answer.content_type, [body](size_t offset, httplib::DataSink& sink) {
      if (offset >= body->size()) {
        sink.done();
        return true;
      }
      size_t n = std::min<size_t>(64 * 1024, body->size() - offset);
      return sink.write(body->data() + offset, n);
    });
  };
  state_->server.Post(".*", handle);
  state_->server.Get(".*", handle);
  state_->server.Put(".*", handle);

  port_ = state_->server.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("LoopbackServer: no free port on 127.0.0.1");
  // The socket already listens; connections wait in the backlog until the loop runs.
  state_->thread = std::thread([this] { state_->server.listen_after_bind(); });
  // stop() does nothing until the loop runs, so a server stopped at once would never end.
  while (!state_->server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer() {
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->stopping = true;
  }
  state_->stopping_cv.notify_all();
  state_->server.stop();
  if (state_->thread.joinable()) state_->thread.join();
}

void LoopbackServer::Answer(CannedAnswer answer) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->answer = std::move(answer);
}

std::vector<CapturedRequest> LoopbackServer::Requests() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->requests;
}

}  // namespace falcrest::test
