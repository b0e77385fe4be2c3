#pragma once
// The service's web pages: sign-up, log-in and log-out, device set-up, and the member's
// reminders. Plain HTML forms, no scripts; every text from the store or the request is escaped.
// Pages that show or change a member's data need a session (a cookie holding a random token)
// and show that member's data only; without one they answer with the log-in form.
#include <httplib.h>

#include <map>
#include <optional>
#include <string>

#include "reference-service/ReminderStore.h"
#include "reference-service/Sessions.h"

namespace reminder_service {

// Name of the session cookie.
inline constexpr const char* kSessionCookie = "TarvanelSession";

class WebPages {
 public:
  explicit WebPages(ReminderStore& store) : store_(store) {}

  // Adds the routes of every page to the server.
  void Register(httplib::Server& server);

 private:
  using Fields = std::map<std::string, std::string>;

  // One request as the pages see it: its fields, and the member of its session if any.
  struct Visit {
    std::string path;  // the page's path; with `id` the only part of a URL the pages link back to
    Fields form;
    bool posted = false;
    std::string sessionToken;
    std::optional<Member> member;
  };
  using MemberPage = void (WebPages::*)(const Member&, const Visit&, httplib::Response&);

  Visit Open(const httplib::Request& req, bool posted);
  // Runs a member page: the page itself with a session, else the log-in form or the log-in
  // it posts (a form with a "Password" field), which starts a session and returns to the page.
  // `what` names what the page shows, for its log-in form ("your reminders").
  void Guarded(const char* what, MemberPage page, const httplib::Request& req, bool posted, httplib::Response& res);
  void LogInPage(const char* what, const Visit& visit, httplib::Response& res);
  void StartSession(const Visit& visit, const Member& member, httplib::Response& res);
  void LogOut(const Visit& visit, httplib::Response& res);

  void Home(const Visit& visit, httplib::Response& res);
  void ServiceInfo(const Visit& visit, httplib::Response& res);
  void Signup(const Visit& visit, httplib::Response& res);
  void EditDevice(const Member& member, const Visit& visit, httplib::Response& res);
  void Reminders(const Member& member, const Visit& visit, httplib::Response& res);
  void Reminder(const Member& member, const Visit& visit, httplib::Response& res);

  // The member with that user ID and password; nothing when either is wrong.
  std::optional<Member> CheckPassword(const std::string& userId, const std::string& password);
  std::string DeviceForm(const Member& member, const std::string& message);
  std::string ReminderList(const Member& member);

  ReminderStore& store_;
  Sessions sessions_;
  LogInThrottle throttle_;
};

// Query parameters, then the fields of a url-encoded body.
std::map<std::string, std::string> RequestFields(const httplib::Request& req);
// The label a person sees for a device type name ("HomeEmail" -> "Home Email").
std::string DeviceLabel(const std::string& type);
// The value of the named cookie in the request's Cookie headers; "" when there is none.
std::string CookieValue(const httplib::Request& req, const std::string& name);

}  // namespace reminder_service
