#pragma once
// How the test programs under Wine talk to the test servers' program beside them: a message
// is a list of fields, each written as its length, a colon and its bytes, so that any bytes
// (a request body, a hostile script) pass unchanged.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "LoopbackServer.h"

namespace falcrest::test::wire {

using Message = std::vector<std::string>;

inline std::string Encode(const Message& fields) {
  std::string out;
  for (const std::string& field : fields) out += std::to_string(field.size()) + ":" + field;
  return out;
}

inline Message Decode(const std::string& text) {
  Message fields;
  size_t at = 0;
  while (at < text.size()) {
    const size_t colon = text.find(':', at);
    if (colon == std::string::npos) throw std::runtime_error("a broken message between the test servers");
    const size_t length = std::stoul(text.substr(at, colon - at));
    if (colon + 1 + length > text.size()) throw std::runtime_error("a message between the test servers cut short");
    fields.push_back(text.substr(colon + 1, length));
    at = colon + 1 + length;
  }
  return fields;
}

// The loopback server's answers and requests as fields, from `at` on.
Message FromAnswer(const CannedAnswer& answer);
CannedAnswer ToAnswer(const Message& message, size_t at);
Message FromRequests(const std::vector<CapturedRequest>& requests);
std::vector<CapturedRequest> ToRequests(const Message& message, size_t at);

}  // namespace falcrest::test::wire
