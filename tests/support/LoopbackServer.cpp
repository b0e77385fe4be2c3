#include "LoopbackServer.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <cctype>

namespace falcrest::test {
namespace {

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

size_t CapturedRequest::HeaderCount(const std::string& name) const {
  return static_cast<size_t>(std::count_if(headers.begin(), headers.end(),
                                           [&](const auto& h) { return SameName(h.first, name); }));
}

std::string CapturedRequest::Header(const std::string& name) const {
  for (const auto& h : headers)
    if (SameName(h.first, name)) return h.second;
  return "";
}

LoopbackServer::LoopbackServer(int keepAliveSeconds) : server_(std::make_unique<httplib::Server>()) {
  // Keep connections open across many requests so that the client can reuse them.
  server_->set_keep_alive_max_count(1000);
  server_->set_keep_alive_timeout(keepAliveSeconds);

  auto handle = [this](const httplib::Request& req, httplib::Response& res) {
    CannedAnswer answer;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      CapturedRequest captured;
      captured.method = req.method;
      captured.target = req.target;
      captured.version = req.version;
      for (const auto& h : req.headers) {
        // The server adds the peer's address as pseudo-headers; they were not sent.
        if (SameName(h.first, "REMOTE_ADDR") || SameName(h.first, "REMOTE_PORT") ||
            SameName(h.first, "LOCAL_ADDR") || SameName(h.first, "LOCAL_PORT"))
          continue;
        captured.headers.emplace_back(h.first, h.second);
      }
      captured.body = req.body;
      captured.remote_port = req.remote_port;
      requests_.push_back(std::move(captured));
      answer = answer_;
      if (answer.delay.count() > 0) stopping_cv_.wait_for(lock, answer.delay, [this] { return stopping_; });
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
  server_->Post(".*", handle);
  server_->Get(".*", handle);
  server_->Put(".*", handle);

  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("LoopbackServer: no free port on 127.0.0.1");
  // The socket already listens; connections wait in the backlog until the loop runs.
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // stop() does nothing until the loop runs, so a server stopped at once would never end.
  while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  stopping_cv_.notify_all();
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

std::string LoopbackServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackServer::Answer(CannedAnswer answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answer_ = std::move(answer);
}

void LoopbackServer::Answer(const std::string& body, int status) {
  CannedAnswer answer;
  answer.body = body;
  answer.status = status;
  Answer(std::move(answer));
}

std::vector<CapturedRequest> LoopbackServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

CapturedRequest LoopbackServer::LastRequest() const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (requests_.empty()) {
    ADD_FAILURE() << "the loopback server received no request";
    return {};
  }
  return requests_.back();
}

std::set<int> LoopbackServer::RemotePorts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::set<int> ports;
  for (const CapturedRequest& r : requests_) ports.insert(r.remote_port);
  return ports;
}

}  // namespace falcrest::test
