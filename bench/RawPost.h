#pragma once
// A POST with no library around it: one libcurl easy handle kept for every call, so one
// keep-alive connection and exactly the bytes and headers given. The baseline the library's
// own cost is measured against.
#include <cstddef>
#include <string>
#include <vector>

typedef void CURL;
struct curl_slist;

namespace bench {

class RawPost {
 public:
  // `headers` as "Name: value" lines; "Expect:" is added so curl sends none of its own.
  RawPost(const std::string& url, const std::string& body, const std::vector<std::string>& headers);
  ~RawPost();
  RawPost(const RawPost&) = delete;
  RawPost& operator=(const RawPost&) = delete;

  // Sends the body once more; the answer's size. Throws when the exchange failed.
  size_t Post();

 private:
  std::string body_;
  CURL* easy_;
  curl_slist* headers_ = nullptr;
  std::string answer_;
};

}  // namespace bench
