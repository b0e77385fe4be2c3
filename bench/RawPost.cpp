#include "bench/RawPost.h"

#include <curl/curl.h>

#include <stdexcept>

namespace bench {
namespace {

size_t Collect(char* data, size_t size, size_t count, void* userdata) {
  static_cast<std::string*>(userdata)->append(data, size * count);
  return size * count;
}

}  // namespace

RawPost::RawPost(const std::string& url, const std::string& body, const std::vector<std::string>& headers)
    : body_(body), easy_(curl_easy_init()) {
  for (const std::string& h : headers) headers_ = curl_slist_append(headers_, h.c_str());
  headers_ = curl_slist_append(headers_, "Expect:");
  curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, body_.data());
  curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body_.size()));
  curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &answer_);
}

RawPost::~RawPost() {
  curl_easy_cleanup(easy_);
  curl_slist_free_all(headers_);
}

size_t RawPost::Post() {
  answer_.clear();
  if (curl_easy_perform(easy_) != CURLE_OK) throw std::runtime_error("the raw POST failed");
  return answer_.size();
}

}  // namespace bench
