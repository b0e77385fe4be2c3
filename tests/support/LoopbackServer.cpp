#include "LoopbackServer.h"
#include "Wire.h"

#include <gtest/gtest.h>

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

std::string LoopbackServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackServer::Answer(const std::string& body, int status) {
  CannedAnswer answer;
  answer.body = body;
  answer.status = status;
  Answer(std::move(answer));
}

CapturedRequest LoopbackServer::LastRequest() const {
  std::vector<CapturedRequest> requests = Requests();
  if (requests.empty()) {
    ADD_FAILURE() << "the loopback server received no request";
    return {};
  }
  return requests.back();
}

std::set<int> LoopbackServer::RemotePorts() const {
  std::set<int> ports;
  for (const CapturedRequest& r : Requests()) ports.insert(r.remote_port);
  return ports;
}

// The wire forms the test servers' program and its clients under Wine share.
namespace wire {

Message FromAnswer(const CannedAnswer& answer) {
  Message m = {std::to_string(answer.status), answer.body, answer.content_type,
               std::to_string(answer.delay.count()), answer.chunked ? "1" : "0"};
  for (const auto& h : answer.headers) m.insert(m.end(), {h.first, h.second});
  return m;
}

CannedAnswer ToAnswer(const Message& m, size_t at) {
  CannedAnswer answer;
  answer.status = std::stoi(m.at(at));
  answer.body = m.at(at + 1);
  answer.content_type = m.at(at + 2);
  answer.delay = std::chrono::milliseconds(std::stol(m.at(at + 3)));
  answer.chunked = m.at(at + 4) == "1";
  for (size_t i = at + 5; i + 1 < m.size(); i += 2) answer.headers.emplace_back(m[i], m[i + 1]);
  return answer;
}

// Each request as one field: its parts encoded again.
Message FromRequests(const std::vector<CapturedRequest>& requests) {
  Message m;
  for (const CapturedRequest& r : requests) {
    Message one = {r.method, r.target, r.version, r.body, std::to_string(r.remote_port)};
    for (const auto& h : r.headers) one.insert(one.end(), {h.first, h.second});
    m.push_back(Encode(one));
  }
  return m;
}

std::vector<CapturedRequest> ToRequests(const Message& m, size_t at) {
  std::vector<CapturedRequest> requests;
  for (size_t i = at; i < m.size(); ++i) {
    const Message one = Decode(m[i]);
    CapturedRequest r;
    r.method = one.at(0);
    r.target = one.at(1);
    r.version = one.at(2);
    r.body = one.at(3);
    r.remote_port = std::stoi(one.at(4));
    for (size_t k = 5; k + 1 < one.size(); k += 2) r.headers.emplace_back(one[k], one[k + 1]);
    requests.push_back(std::move(r));
  }
  return requests;
}

}  // namespace wire

}  // namespace falcrest::test
