// The HTTP request seam on WinINet, so that the user's own proxy settings apply as in the
// browser. WinINet keeps connections alive per process, host and port, so fresh handles per
// request still ride one connection. Every exchange runs in WinINet's asynchronous mode and
// waits for each step with our own deadline: WinINet's connect timeout is not honoured
// everywhere and a blocked synchronous call cannot be ended from outside, while closing the
// handles of an asynchronous one ends it at once. A step still running when we give up may
// finish later; what it writes into (the request body, the read buffer) lives in an Exchange
// that the status callback keeps until WinINet reports the request handle closed.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "library/service/http/HttpRequest.h"
#include "library/support/Error.h"

namespace falcrest::http {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kSource = "Falcrest.WebService";
constexpr DWORD kReadChunk = 64 * 1024;
// WinINet's own timeouts are set past our deadline, so that ours is the one that ends a step.
constexpr DWORD kPlatformTimeoutMarginMs = 5000;
// How long closing a finished request waits for WinINet to put its connection back.
constexpr DWORD kCloseWaitMs = 1000;
// WinSock's "connection timed out", which a stalled read may report.
constexpr DWORD kSocketTimedOut = 10060;

[[noreturn]] void Raise(Failure kind, const std::string& description) {
  throw Error(error_number::kTransportBase + static_cast<int>(kind), kSource, description);
}

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

std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), units);
  return out;
}

std::string Narrow(const wchar_t* text, size_t units) {
  if (units == 0) return std::string();
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(units), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(units), out.data(), bytes, nullptr, nullptr);
  return out;
}

// One request's state, shared with the status callback.
struct Exchange {
  Exchange()
      : done(CreateEventW(nullptr, FALSE, FALSE, nullptr)), closed(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Exchange() {
    if (done) CloseHandle(done);
    if (closed) CloseHandle(closed);
  }
  Exchange(const Exchange&) = delete;
  Exchange& operator=(const Exchange&) = delete;

  HANDLE done;                          // set when an asynchronous step completes
  HANDLE closed;                        // set when WinINet has let the request handle go
  DWORD_PTR result = 0;                 // of the step that completed: nonzero on success
  DWORD error = 0;                      // its error when it failed
  std::atomic<bool> connected{false};   // a connection stands (new or reused)
  std::atomic<bool> sent{false};        // the whole request went out
  std::atomic<HINTERNET> request{nullptr};
  std::string body;                     // the request entity, read by WinINet until sent
  std::vector<char> buffer;             // where a read lands
  DWORD read = 0;                       // how much it brought
  DWORD available = 0;                  // how much is there to read
};

// The exchanges the callback may still hear about, by the context number given to WinINet.
// A number, not a pointer, so that a late event for a finished exchange finds nothing.
class Exchanges {
 public:
  DWORD_PTR Add(std::shared_ptr<Exchange> exchange) {
    std::lock_guard<std::mutex> lock(mutex_);
    const DWORD_PTR id = ++last_;
    live_.emplace(id, std::move(exchange));
    return id;
  }
  std::shared_ptr<Exchange> Find(DWORD_PTR id) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = live_.find(id);
    return found == live_.end() ? nullptr : found->second;
  }
  void Remove(DWORD_PTR id) {
    std::shared_ptr<Exchange> gone;  // freed outside the lock
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = live_.find(id);
    if (found == live_.end()) return;
    gone = std::move(found->second);
    live_.erase(found);
  }

 private:
  std::mutex mutex_;
  DWORD_PTR last_ = 0;
  std::unordered_map<DWORD_PTR, std::shared_ptr<Exchange>> live_;
};

Exchanges& Live() {
  static Exchanges* live = new Exchanges;  // never destroyed: WinINet may call in until the end
  return *live;
}

void CALLBACK OnStatus(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
  if (context == 0) return;
  std::shared_ptr<Exchange> exchange = Live().Find(context);
  if (!exchange) return;  // an event after the exchange was given up and cleared
  switch (status) {
    case INTERNET_STATUS_CONNECTED_TO_SERVER:
    case INTERNET_STATUS_SENDING_REQUEST:  // on a reused connection, the first sign of one
      exchange->connected = true;
      break;
    case INTERNET_STATUS_REQUEST_SENT:
      exchange->connected = true;
      exchange->sent = true;
      break;
    case INTERNET_STATUS_REQUEST_COMPLETE:
      if (info && length >= sizeof(INTERNET_ASYNC_RESULT)) {
        const auto* outcome = static_cast<const INTERNET_ASYNC_RESULT*>(info);
        exchange->result = outcome->dwResult;
        exchange->error = outcome->dwError;
      }
      SetEvent(exchange->done);
      break;
    case INTERNET_STATUS_HANDLE_CLOSING:
      if (handle != exchange->request.load()) break;
      SetEvent(exchange->closed);
      Live().Remove(context);
      break;
    default:
      break;
  }
}

// The process's one session: the user's proxy settings, asynchronous mode, our callback. It
// is never closed: WinINet's own shutdown at process end does that, and closing it from a
// static destructor inside a DLL could wait on the loader lock.
HINTERNET Session() {
  static HINTERNET session = [] {
    HINTERNET made = InternetOpenW(L"Falcrest", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC);
    if (made && InternetSetStatusCallbackW(made, &OnStatus) == INTERNET_INVALID_STATUS_CALLBACK) {
      InternetCloseHandle(made);
      made = nullptr;
    }
    return made;
  }();
  if (!session) Raise(Failure::kProtocol, "The HTTP library could not start (error " + std::to_string(GetLastError()) + ")");
  return session;
}

// The system's words for a WinINet or socket error, or its number.
std::string ErrorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM |
                      FORMAT_MESSAGE_FROM_HMODULE;
  const DWORD units = FormatMessageW(flags, GetModuleHandleW(L"wininet.dll"), error, 0,
                                     reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out = units ? Narrow(text, units) : std::string();
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
    out.pop_back();
  return out.empty() ? "error " + std::to_string(error) : out + " (error " + std::to_string(error) + ")";
}

class WinInetRequest : public Request {
 public:
  void Open(const std::string& method, const std::string& url) override {
    if (url.empty()) Raise(Failure::kBadUrl, "The reminder service URL is empty: set WebServiceURL in the settings");
    const std::wstring wide = Wide(url);
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = 1;  // nonzero: give the part back as pointer and length
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlW(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts) || parts.dwHostNameLength == 0)
      Raise(Failure::kBadUrl, "The reminder service URL \"" + url + "\" is not a valid URL");
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
      Raise(Failure::kBadUrl, "The reminder service URL \"" + url + "\" is not an http or https URL");
    method_ = Wide(method);
    url_ = url;
    host_.assign(parts.lpszHostName, parts.dwHostNameLength);
    port_ = parts.nPort;
    secure_ = parts.nScheme == INTERNET_SCHEME_HTTPS;
    target_.assign(parts.lpszUrlPath ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
    if (parts.lpszExtraInfo) target_.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (target_.empty()) target_ = L"/";
  }

  void SetRequestHeader(const std::string& name, const std::string& value) override {
    headers_ += Wide(name + ": " + value + "\r\n");
  }

  Response Send(const std::string& body) override {
    if (url_.empty()) Raise(Failure::kBadUrl, "The reminder service URL is empty: set WebServiceURL in the settings");
    const Limits limits = CurrentLimits();
    HINTERNET session = Session();

    auto exchange = std::make_shared<Exchange>();
    if (!exchange->done) Raise(Failure::kProtocol, "The HTTP library could not create a request");
    exchange->body = body;
    Handles handles(exchange);

    handles.connect = InternetConnectW(session, host_.c_str(), port_, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0,
                                       handles.id);
    if (!handles.connect) RaiseFor(GetLastError(), *exchange, limits);
    DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    if (secure_) flags |= INTERNET_FLAG_SECURE;
    HINTERNET request = HttpOpenRequestW(handles.connect, method_.c_str(), target_.c_str(), L"HTTP/1.1", nullptr,
                                         nullptr, flags, handles.id);
    if (!request) RaiseFor(GetLastError(), *exchange, limits);
    exchange->request = request;
    handles.request = request;

    DWORD platform_timeout = static_cast<DWORD>(limits.total_timeout_ms) + kPlatformTimeoutMarginMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
      InternetSetOptionW(request, option, &platform_timeout, sizeof(platform_timeout));
    if (!headers_.empty() &&
        !HttpAddRequestHeadersW(request, headers_.c_str(), static_cast<DWORD>(headers_.size()), HTTP_ADDREQ_FLAG_ADD))
      RaiseFor(GetLastError(), *exchange, limits);

    const Clock::time_point start = Clock::now();
    const Clock::time_point total_deadline = start + std::chrono::milliseconds(limits.total_timeout_ms);
    const Clock::time_point connect_deadline =
        start + std::chrono::milliseconds(std::min(limits.connect_timeout_ms, limits.total_timeout_ms));

    // Send the request and wait for the answer's head.
    ResetEvent(exchange->done);
    if (!HttpSendRequestW(request, nullptr, 0, exchange->body.empty() ? nullptr : exchange->body.data(),
                          static_cast<DWORD>(exchange->body.size()))) {
      const DWORD error = GetLastError();
      if (error != ERROR_IO_PENDING) RaiseFor(error, *exchange, limits);
      handles.pending = true;
      if (!WaitUntil(*exchange, connect_deadline)) {
        if (!exchange->connected)
          Raise(Failure::kTimeout, "Cannot reach the reminder service at " + url_ + ": no connection within " +
                                       DurationText(limits.connect_timeout_ms));
        if (!WaitUntil(*exchange, total_deadline)) RaiseNoAnswer(limits);
      }
      handles.pending = false;
      if (!exchange->result) RaiseFor(exchange->error, *exchange, limits);
    }

    Response response;
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
      response.status = static_cast<long>(status);
    response.content_type = TextHeader(request, HTTP_QUERY_CONTENT_TYPE);
    uint64_t announced = 0;
    const bool has_length = NumberHeader(request, HTTP_QUERY_CONTENT_LENGTH, announced);
    if (has_length && announced > limits.max_response_bytes) RaiseTooLarge(limits);
    if (has_length) response.body.reserve(static_cast<size_t>(announced));

    // Read the body, one byte past the limit at most, so that an answer over it shows. Each
    // read first waits until data is there, then takes no more than is there: such a read
    // ends at once with its count. The count of a read that completes later is not to be
    // trusted: under Wine the call itself writes zero into it after queuing the read, and on
    // a busy machine the read may already have finished and written its count by then.
    exchange->buffer.resize(kReadChunk);
    for (;;) {
      ResetEvent(exchange->done);
      exchange->available = 0;
      if (!InternetQueryDataAvailable(request, &exchange->available, 0, 0)) {
        const DWORD error = GetLastError();
        if (error != ERROR_IO_PENDING) RaiseFor(error, *exchange, limits);
        handles.pending = true;
        if (!WaitUntil(*exchange, total_deadline)) RaiseNoAnswer(limits);
        handles.pending = false;
        if (!exchange->result) RaiseFor(exchange->error, *exchange, limits);
        continue;  // data has come, or the end: ask again for how much
      }
      if (exchange->available == 0) break;
      const size_t room = limits.max_response_bytes - response.body.size() + 1;
      const DWORD want = static_cast<DWORD>(std::min<size_t>({kReadChunk, room, exchange->available}));
      ResetEvent(exchange->done);
      exchange->read = 0;
      if (!InternetReadFile(request, exchange->buffer.data(), want, &exchange->read)) {
        const DWORD error = GetLastError();
        if (error != ERROR_IO_PENDING) RaiseFor(error, *exchange, limits);
        handles.pending = true;
        if (!WaitUntil(*exchange, total_deadline)) RaiseNoAnswer(limits);
        handles.pending = false;
        if (!exchange->result) RaiseFor(exchange->error, *exchange, limits);
      }
      const DWORD got = exchange->read;
      if (got == 0) break;
      if (got > limits.max_response_bytes - response.body.size()) RaiseTooLarge(limits);
      response.body.append(exchange->buffer.data(), got);
    }
    if (status == 0 || (has_length && response.body.size() < announced)) RaiseCutShort();
    return response;
  }

 private:
  // The handles of one exchange, closed on every way out. While a step is pending the
  // exchange stays registered, for the callback to clear when WinINet closes the request.
  // Otherwise closing waits, briefly, until WinINet has let the request go: only then is its
  // connection back in the pool, and a request made before that would open another one.
  struct Handles {
    explicit Handles(const std::shared_ptr<Exchange>& exchange) : id(Live().Add(exchange)), closed(exchange->closed) {}
    ~Handles() {
      if (request) InternetCloseHandle(request);
      if (connect) InternetCloseHandle(connect);
      if (request && !pending) WaitForSingleObject(closed, kCloseWaitMs);
      if (!pending || !request) Live().Remove(id);
    }
    Handles(const Handles&) = delete;
    Handles& operator=(const Handles&) = delete;

    DWORD_PTR id;
    HANDLE closed;
    HINTERNET connect = nullptr;
    HINTERNET request = nullptr;
    bool pending = false;
  };

  static bool WaitUntil(Exchange& exchange, Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    const DWORD ms = left > 0 ? static_cast<DWORD>(left) : 0;
    return WaitForSingleObject(exchange.done, ms) == WAIT_OBJECT_0;
  }

  static std::string TextHeader(HINTERNET request, DWORD which) {
    std::wstring value(128, L'\0');
    DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (!HttpQueryInfoW(request, which, value.data(), &bytes, nullptr)) {
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::string();
      value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
      if (!HttpQueryInfoW(request, which, value.data(), &bytes, nullptr)) return std::string();
    }
    return Narrow(value.data(), bytes / sizeof(wchar_t));
  }

  static bool NumberHeader(HINTERNET request, DWORD which, uint64_t& number) {
    const std::string text = TextHeader(request, which);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 18) return false;
    number = std::stoull(text);
    return true;
  }

  [[noreturn]] void RaiseNoAnswer(const Limits& limits) const {
    Raise(Failure::kTimeout, "The reminder service at " + url_ + " did not answer within " +
                                 DurationText(limits.total_timeout_ms));
  }

  [[noreturn]] void RaiseTooLarge(const Limits& limits) const {
    Raise(Failure::kTooLarge, "The reminder service's answer is larger than " + SizeText(limits.max_response_bytes) +
                                  " (" + url_ + ")");
  }

  [[noreturn]] void RaiseCutShort() const {
    Raise(Failure::kReset, "The reminder service at " + url_ + " closed the connection before its answer was complete");
  }

  [[noreturn]] void RaiseFor(DWORD error, const Exchange& exchange, const Limits& limits) const {
    const std::string where = "the reminder service at " + url_;
    switch (error) {
      case ERROR_INTERNET_INVALID_URL:
      case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
        Raise(Failure::kBadUrl, "The reminder service URL \"" + url_ + "\" cannot be used: " + ErrorText(error));
      case ERROR_INTERNET_NAME_NOT_RESOLVED:
        Raise(Failure::kResolve, "Cannot reach " + where + ": its host name was not found");
      case ERROR_INTERNET_CANNOT_CONNECT:
        Raise(Failure::kConnect, "Cannot reach " + where + ": connection refused");
      case ERROR_INTERNET_TIMEOUT:
      case kSocketTimedOut:
        if (!exchange.connected)
          Raise(Failure::kTimeout, "Cannot reach " + where + ": no connection within " +
                                       DurationText(limits.connect_timeout_ms));
        RaiseNoAnswer(limits);
      case ERROR_INTERNET_CONNECTION_ABORTED:
      case ERROR_INTERNET_CONNECTION_RESET:
      case ERROR_HTTP_INVALID_SERVER_RESPONSE:
        if (!exchange.sent) Raise(Failure::kReset, "The connection to " + where + " broke while the request was being sent");
        RaiseCutShort();
      default:
        Raise(Failure::kProtocol, "The exchange with " + where + " failed: " + ErrorText(error));
    }
  }

  std::wstring method_ = L"POST";
  std::string url_;
  std::wstring host_;
  INTERNET_PORT port_ = 0;
  bool secure_ = false;
  std::wstring target_;
  std::wstring headers_;
};

}  // namespace

std::unique_ptr<Request> NewRequest() { return std::make_unique<WinInetRequest>(); }

}  // namespace falcrest::http
