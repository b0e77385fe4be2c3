// The HTTP request seam on libcurl. One easy handle per thread, kept between requests;
// connections and DNS answers live in one process-wide share handle, so a sequence of calls
// to the same service rides one keep-alive HTTP/1.1 connection.
#include <curl/curl.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "library/service/http/HttpRequest.h"
#include "library/support/Error.h"

namespace falcrest::http {
namespace {

constexpr const char* kSource = "Falcrest.WebService";

[[noreturn]] void Raise(Failure kind, const std::string& description) {
  throw Error(error_number::kTransportBase + static_cast<int>(kind), kSource, description);
}

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct ShareDeleter {
  void operator()(CURLSH* share) const { curl_share_cleanup(share); }
};
using UniqueEasy = std::unique_ptr<CURL, EasyDeleter>;
using UniqueUrl = std::unique_ptr<CURLU, UrlDeleter>;
using UniqueShare = std::unique_ptr<CURLSH, ShareDeleter>;

// "30 seconds", "1 second", "1500 milliseconds".
std::string DurationText(long ms) {
  if (ms % 1000 != 0) return std::to_string(ms) + " milliseconds";
  long seconds = ms / 1000;
  return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

// "8 MiB", "64 KiB", "100 bytes".
std::string SizeText(size_t bytes) {
  if (bytes != 0 && bytes % (1024u * 1024u) == 0) return std::to_string(bytes / (1024u * 1024u)) + " MiB";
  if (bytes != 0 && bytes % 1024u == 0) return std::to_string(bytes / 1024u) + " KiB";
  return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

// curl_global_init is not safe to race with other threads; a function-local static is.
void GlobalInit() {
  static const CURLcode code = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (code != CURLE_OK)
    Raise(Failure::kProtocol, std::string("The HTTP library could not start: ") + curl_easy_strerror(code));
}

// The process-wide connection and DNS cache, with one mutex per kind of shared data.
class SharedCache {
 public:
  SharedCache() : share_(curl_share_init()) {
    if (!share_) Raise(Failure::kProtocol, "The HTTP library could not create its connection cache");
    curl_share_setopt(share_.get(), CURLSHOPT_LOCKFUNC, &SharedCache::Lock);
    curl_share_setopt(share_.get(), CURLSHOPT_UNLOCKFUNC, &SharedCache::Unlock);
    curl_share_setopt(share_.get(), CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
    curl_share_setopt(share_.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  }

  CURLSH* get() const { return share_.get(); }

 private:
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<SharedCache*>(self)->MutexFor(data).lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<SharedCache*>(self)->MutexFor(data).unlock();
  }
  std::mutex& MutexFor(curl_lock_data data) {
    size_t index = static_cast<size_t>(data);
    return mutexes_[index < mutexes_.size() ? index : 0];
  }

  std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes_;
  UniqueShare share_;  // declared last: cleaned up before the mutexes it locks go away
};

SharedCache& Cache() {
  GlobalInit();
  static SharedCache cache;
  return cache;
}

// What the write callback needs: the body so far and the bound on it.
struct Sink {
  std::string body;
  size_t limit = 0;
  bool too_large = false;
  bool headers_ended = false;  // curl takes a connection closed inside the headers as an answer
};

size_t Header(char* data, size_t size, size_t count, void* userdata) {
  Sink& sink = *static_cast<Sink*>(userdata);
  const size_t bytes = size * count;
  if (bytes >= 5 && std::memcmp(data, "HTTP/", 5) == 0) sink.headers_ended = false;  // a new status line
  if ((bytes == 2 && data[0] == '\r' && data[1] == '\n') || (bytes == 1 && data[0] == '\n')) sink.headers_ended = true;
  return bytes;
}

size_t Write(char* data, size_t size, size_t count, void* userdata) {
  Sink& sink = *static_cast<Sink*>(userdata);
  size_t bytes = size * count;
  if (bytes > sink.limit - sink.body.size()) {
    sink.too_large = true;
    return 0;  // makes curl stop with CURLE_WRITE_ERROR
  }
  sink.body.append(data, bytes);
  return bytes;
}

// The calling thread's easy handle, kept between requests: a handle made per request brings
// its own multi handle (a socket pair, hash tables) into being and tears it down again, which
// costs more than the rest of a request on loopback. Connections stay in the shared cache.
// The options that are the same for every request are set once, when the handle is made;
// every other option is set by each request, and leaving the scope clears the ones that point
// into the request, so nothing points into a finished request.
class ThreadHandle {
 public:
  explicit ThreadHandle(CURLSH* cache) : handle_(Get(cache)) {}
  ~ThreadHandle() {
    curl_easy_setopt(handle_, CURLOPT_POSTFIELDS, nullptr);
    curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(handle_, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(handle_, CURLOPT_HEADERDATA, nullptr);
    curl_easy_setopt(handle_, CURLOPT_ERRORBUFFER, nullptr);
  }
  ThreadHandle(const ThreadHandle&) = delete;
  ThreadHandle& operator=(const ThreadHandle&) = delete;
  CURL* get() const { return handle_; }

 private:
  static CURL* Get(CURLSH* cache) {
    thread_local UniqueEasy easy;
    if (!easy) {
      UniqueEasy made(curl_easy_init());
      if (!made) Raise(Failure::kProtocol, "The HTTP library could not create a request");
      CURL* h = made.get();
      curl_easy_setopt(h, CURLOPT_SHARE, cache);
#if LIBCURL_VERSION_NUM >= 0x075500
      curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
#endif
      curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
      curl_easy_setopt(h, CURLOPT_POST, 1L);
      curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
      curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
      curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &Write);
      curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &Header);
      easy = std::move(made);
    }
    return easy.get();
  }
  CURL* handle_;
};

class CurlRequest : public Request {
 public:
  CurlRequest() { headers_.reserve(4); }  // a SOAP call sets two

  void Open(const std::string& method, const std::string& url) override {
    if (url.empty()) Raise(Failure::kBadUrl, "The reminder service URL is empty: set WebServiceURL in the settings");
    GlobalInit();
    // A run of calls goes to one address: check it once per thread, not on every call.
    thread_local std::string last_valid_url;
    if (url == last_valid_url) {
      method_ = method;
      url_ = url;
      return;
    }
    UniqueUrl parsed(curl_url());
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
      Raise(Failure::kBadUrl, "The reminder service URL \"" + url + "\" is not a valid URL");
    char* scheme = nullptr;
    curl_url_get(parsed.get(), CURLUPART_SCHEME, &scheme, 0);
    std::string scheme_text = scheme ? scheme : "";
    curl_free(scheme);
    if (scheme_text != "http" && scheme_text != "https")
      Raise(Failure::kBadUrl, "The reminder service URL \"" + url + "\" is not an http or https URL");
    method_ = method;
    url_ = url;
    last_valid_url = url;
  }

  void SetRequestHeader(const std::string& name, const std::string& value) override {
    // "Name;" is curl's way to send a header with an empty value; "Name:" would remove it.
    std::string line;
    line.reserve(name.size() + 2 + value.size());
    line.append(name).append(value.empty() ? ";" : ": ").append(value);
    headers_.push_back(std::move(line));
    if (EqualsNoCase(name, "Content-Type")) has_content_type_ = true;
  }

  Response Send(const std::string& body) override {
    if (url_.empty()) Raise(Failure::kBadUrl, "The reminder service URL is empty: set WebServiceURL in the settings");
    const Limits limits = CurrentLimits();
    CURLSH* cache = Cache().get();  // first, so that the global set-up happens exactly once

    // Everything the easy handle points to is declared before it, so outlives it. The header
    // list is laid out here rather than copied by curl_slist_append: curl only reads it.
    char expect[] = "Expect:";             // no 100-continue round trip: send the body at once
    char no_content_type[] = "Content-Type:";  // no form type of curl's own
    std::vector<curl_slist> header_list;
    header_list.reserve(headers_.size() + 2);
    for (std::string& line : headers_) header_list.push_back({line.data(), nullptr});
    header_list.push_back({expect, nullptr});
    if (!has_content_type_) header_list.push_back({no_content_type, nullptr});
    for (size_t i = 0; i + 1 < header_list.size(); ++i) header_list[i].next = &header_list[i + 1];

    Sink sink;
    sink.limit = limits.max_response_bytes;
    char error_text[CURL_ERROR_SIZE] = {};

    ThreadHandle easy(cache);
    CURL* h = easy.get();
    curl_easy_setopt(h, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method_ != "POST" ? method_.c_str() : nullptr);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, header_list.data());
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, limits.connect_timeout_ms);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, limits.total_timeout_ms);
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.max_response_bytes));
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &sink);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, error_text);

    CURLcode code = curl_easy_perform(h);
    if (code == CURLE_OK && !sink.headers_ended) code = CURLE_PARTIAL_FILE;
    if (code != CURLE_OK) RaiseFor(h, code, sink.too_large, error_text, limits);

    Response response;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &response.status);
    const char* content_type = nullptr;
    curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &content_type);
    if (content_type) response.content_type = content_type;
    response.body = std::move(sink.body);
    return response;
  }

 private:
  static bool EqualsNoCase(const std::string& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
      char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
      char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
      if (x != y) return false;
    }
    return true;
  }

  [[noreturn]] void RaiseFor(CURL* h, CURLcode code, bool too_large, const char* error_text,
                             const Limits& limits) const {
    const std::string where = "the reminder service at " + url_;
    if (too_large || code == CURLE_FILESIZE_EXCEEDED)
      Raise(Failure::kTooLarge, "The reminder service's answer is larger than " +
                                    SizeText(limits.max_response_bytes) + " (" + url_ + ")");
    switch (code) {
      case CURLE_UNSUPPORTED_PROTOCOL:
      case CURLE_URL_MALFORMAT:
        Raise(Failure::kBadUrl, "The reminder service URL \"" + url_ + "\" cannot be used: " + Detail(code, error_text));
      case CURLE_COULDNT_RESOLVE_HOST:
      case CURLE_COULDNT_RESOLVE_PROXY:
        Raise(Failure::kResolve, "Cannot reach " + where + ": its host name was not found");
      case CURLE_COULDNT_CONNECT:
        Raise(Failure::kConnect, "Cannot reach " + where + ": " + OsReason(h));
      case CURLE_OPERATION_TIMEDOUT:
        if (!Connected(h))
          Raise(Failure::kTimeout, "Cannot reach " + where + ": no connection within " +
                                       DurationText(limits.connect_timeout_ms));
        Raise(Failure::kTimeout, "The reminder service at " + url_ + " did not answer within " +
                                     DurationText(limits.total_timeout_ms));
      case CURLE_SEND_ERROR:
        Raise(Failure::kReset, "The connection to " + where + " broke while the request was being sent");
      case CURLE_RECV_ERROR:
      case CURLE_GOT_NOTHING:
      case CURLE_PARTIAL_FILE:
        Raise(Failure::kReset, "The reminder service at " + url_ + " closed the connection before its answer was complete");
      default:
        Raise(Failure::kProtocol, "The exchange with " + where + " failed: " + Detail(code, error_text));
    }
  }

  // True once a connection stood, new or reused (a reused one reports no connect time).
  static bool Connected(CURL* h) {
    curl_off_t connect_time = 0;
    curl_off_t pretransfer_time = 0;
    long request_size = 0;
    curl_easy_getinfo(h, CURLINFO_CONNECT_TIME_T, &connect_time);
    curl_easy_getinfo(h, CURLINFO_PRETRANSFER_TIME_T, &pretransfer_time);
    curl_easy_getinfo(h, CURLINFO_REQUEST_SIZE, &request_size);
    return connect_time > 0 || pretransfer_time > 0 || request_size > 0;
  }

  // "connection refused", from the system's own words for the socket error.
  static std::string OsReason(CURL* h) {
    long os_error = 0;
    curl_easy_getinfo(h, CURLINFO_OS_ERRNO, &os_error);
    if (os_error == 0) return "the connection failed";
    std::string text = std::strerror(static_cast<int>(os_error));
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
  }

  static std::string Detail(CURLcode code, const char* error_text) {
    return error_text[0] != '\0' ? std::string(error_text) : std::string(curl_easy_strerror(code));
  }

  std::string method_ = "POST";
  std::string url_;
  std::vector<std::string> headers_;
  bool has_content_type_ = false;
};

}  // namespace

std::unique_ptr<Request> NewRequest() { return std::make_unique<CurlRequest>(); }

}  // namespace falcrest::http
