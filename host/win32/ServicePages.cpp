#include "host/win32/ServicePages.h"

#include <windows.h>
#include <wininet.h>

#include "host/win32/Dispatch.h"
#include "library/support/Error.h"

namespace host::win32 {
namespace {

[[noreturn]] void Raise(const std::string& description) {
  throw falcrest::Error(falcrest::error_number::kComponentBase + 0x160, "reminder-host", description);
}

struct Handle {
  HINTERNET h = nullptr;
  ~Handle() { if (h) InternetCloseHandle(h); }
};

struct Answer {
  DWORD status = 0;
  std::string body;
  std::string cookie;  // "name=value" of Set-Cookie
};

std::string FormValue(const std::string& text) {
  std::string out;
  const char* hex = "0123456789ABCDEF";
  for (unsigned char c : text) {
    if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') out += static_cast<char>(c);
    else out += std::string("%") + hex[c >> 4] + hex[c & 15];
  }
  return out;
}

Answer Request(const std::string& baseUrl, const std::string& verb, const std::string& path, const std::string& cookie,
               const std::string& form) {
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  wchar_t host[256] = {};
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  const std::wstring url = Wide(baseUrl);
  if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts)) Raise("The service address " + baseUrl + " is not a URL");
  Handle session, connection, request;
  session.h = InternetOpenW(L"reminder-host", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  connection.h = InternetConnectW(session.h, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  const DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_CACHE_WRITE |
                      INTERNET_FLAG_RELOAD;
  request.h = HttpOpenRequestW(connection.h, Wide(verb).c_str(), Wide(path).c_str(), nullptr, nullptr, nullptr, flags, 0);
  if (!request.h) Raise("Cannot open a request to the service at " + baseUrl);
  std::wstring headers;
  if (!cookie.empty()) headers += L"Cookie: " + Wide(cookie) + L"\r\n";
  if (!form.empty()) headers += L"Content-Type: application/x-www-form-urlencoded\r\n";
  if (!HttpSendRequestW(request.h, headers.empty() ? nullptr : headers.c_str(), static_cast<DWORD>(headers.size()),
                        form.empty() ? nullptr : const_cast<char*>(form.data()), static_cast<DWORD>(form.size()))) {
    Raise("Cannot reach the service at " + baseUrl + " (error " + std::to_string(GetLastError()) + ")");
  }
  Answer answer;
  DWORD size = sizeof answer.status;
  HttpQueryInfoW(request.h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &answer.status, &size, nullptr);
  wchar_t setCookie[1024] = {};
  size = sizeof setCookie;
  if (HttpQueryInfoW(request.h, HTTP_QUERY_SET_COOKIE, setCookie, &size, nullptr)) {
    std::string text = Utf8(setCookie);
    answer.cookie = text.substr(0, text.find(';'));
  }
  char buffer[8192];
  DWORD read = 0;
  while (InternetReadFile(request.h, buffer, sizeof buffer, &read) && read > 0) answer.body.append(buffer, read);
  return answer;
}

// The text between `open` and `close` from `at` on; empty and npos when absent.
std::string Between(const std::string& html, const std::string& open, const std::string& close, size_t& at) {
  size_t start = html.find(open, at);
  if (start == std::string::npos) {
    at = std::string::npos;
    return std::string();
  }
  start += open.size();
  size_t end = html.find(close, start);
  if (end == std::string::npos) end = html.size();
  at = end + close.size();
  return html.substr(start, end - start);
}

}  // namespace

std::string DecodeHtml(const std::string& html) {
  static const std::pair<const char*, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
  std::string out;
  for (size_t i = 0; i < html.size();) {
    bool replaced = false;
    for (const auto& [entity, c] : kEntities) {
      const size_t n = strlen(entity);
      if (html.compare(i, n, entity) == 0) {
        out += c;
        i += n;
        replaced = true;
        break;
      }
    }
    if (!replaced) out += html[i++];
  }
  return out;
}

scenario::ServiceDevice ParseDeviceSummary(const std::string& text) {
  static const std::pair<const char*, const char*> kLabels[] = {
      {"Home Email", "HomeEmail"},         {"Work Email", "WorkEmail"},         {"Home Phone", "HomePhone"},
      {"Work Phone", "WorkPhone"},         {"Cell Phone", "CellPhone"},         {"Text Messaging (SMS)", "SMS"},
      {"AIM Screen Name", "AIM"},          {"MSN Messenger Account", "MSN"},    {"Yahoo Messenger ID", "YAHOO"},
      {"Fax", "Fax"}};
  scenario::ServiceDevice device;
  const size_t colon = text.find(": ");
  const std::string label = text.substr(0, colon);
  device.type = label;
  for (const auto& [shown, type] : kLabels) {
    if (label == shown) device.type = type;
  }
  std::string rest = colon == std::string::npos ? std::string() : text.substr(colon + 2);
  // The provider follows the address in parentheses.
  const size_t open = rest.rfind(" (");
  if (!rest.empty() && rest.back() == ')' && open != std::string::npos) {
    device.provider = rest.substr(open + 2, rest.size() - open - 3);
    rest.resize(open);
  }
  device.address = rest;
  return device;
}

std::string ServicePages::Session(const std::string& userId) {
  auto found = sessions_.find(userId);
  if (found != sessions_.end()) return found->second;
  const Answer answer = Request(baseUrl_, "POST", "/Reminders.aspx", "",
                                "UserId=" + FormValue(userId) + "&Password=" + FormValue(password_));
  if (answer.cookie.empty() || answer.status >= 400) {
    Raise("The service refused the log-in of " + userId + " (status " + std::to_string(answer.status) + ")");
  }
  sessions_[userId] = answer.cookie;
  return answer.cookie;
}

std::vector<scenario::ServiceEvent> ServicePages::Events(const std::string& userId) {
  const std::string cookie = Session(userId);
  const Answer list = Request(baseUrl_, "GET", "/Reminders.aspx", cookie, "");
  if (list.status != 200) Raise("The service's reminder list answered " + std::to_string(list.status));
  std::vector<scenario::ServiceEvent> events;
  size_t at = 0;
  while (true) {
    const std::string token = Between(list.body, "<a href=\"/Reminder.aspx?id=", "\"", at);
    if (at == std::string::npos) break;
    const Answer page = Request(baseUrl_, "GET", "/Reminder.aspx?id=" + DecodeHtml(token), cookie, "");
    if (page.status != 200) Raise("The service's reminder page answered " + std::to_string(page.status));
    scenario::ServiceEvent e;
    size_t p = 0;
    e.subject = DecodeHtml(Between(page.body, "<th>Subject</th><td>", "</td>", p));
    e.eventDateTime = DecodeHtml(Between(page.body, "<th>Event</th><td>", "</td>", p));
    e.description = DecodeHtml(Between(page.body, "<pre>", "</pre>", p));
    e.remindDateTime = DecodeHtml(Between(page.body, "<th>Remind at</th><td>", "</td>", p));
    const std::string devices = Between(page.body, "<ul>", "</ul>", p);
    size_t d = 0;
    while (true) {
      const std::string item = Between(devices, "<li>", "</li>", d);
      if (d == std::string::npos) break;
      e.devices.push_back(ParseDeviceSummary(DecodeHtml(item)));
    }
    events.push_back(e);
  }
  return events;
}

}  // namespace host::win32
