// Log-in, log-out and the session that member pages need.
#include "reference-service/Html.h"
#include "reference-service/Pages.h"
#include "reference-service/PasswordDigest.h"
#include "reference-service/Secrets.h"

namespace reminder_service {

namespace {

const char* const kHtml = "text/html; charset=utf-8";

// Same-site only, and out of reach of scripts; no Max-Age, so the browser forgets it on close.
std::string SessionCookie(const std::string& token) {
  return std::string(kSessionCookie) + "=" + token + "; Path=/; HttpOnly; SameSite=Strict";
}

// Where a member page's log-in returns to: its own path, with the reminder's token.
std::string PageUrl(const std::string& path, const std::map<std::string, std::string>& form) {
  const std::string id = FormValue(form, "id");
  return id.empty() ? path : path + "?id=" + EncodeQueryValue(id);
}

// The log-in page of a member page; `what` names what it shows ("your reminders").
std::string LogInForm(const std::string& what, const std::string& action, const std::string& userId,
                      const std::string& error) {
  return ErrorList(error.empty() ? std::vector<std::string>{} : std::vector<std::string>{error}) +
         "<p>Log in with your user ID and password to see " + EscapeHtml(what) + ".</p>\n"
         "<form method=\"post\" action=\"" + EscapeHtml(action) + "\">\n" + Field("User ID", "UserId", userId) +
         Field("Password", "Password", "", "password") + "<p><button type=\"submit\">Log in</button></p>\n</form>\n" +
         "<p>No account yet? <a href=\"/Signup.aspx\">Sign up for a free account</a>.</p>\n";
}

}  // namespace

std::string CookieValue(const httplib::Request& req, const std::string& name) {
  for (size_t i = 0; i < req.get_header_value_count("Cookie"); ++i) {
    const std::string header = req.get_header_value("Cookie", i);
    size_t start = 0;
    while (start < header.size()) {
      size_t end = header.find(';', start);
      if (end == std::string::npos) end = header.size();
      std::string pair = header.substr(start, end - start);
      pair.erase(0, pair.find_first_not_of(' '));
      if (pair.compare(0, name.size() + 1, name + "=") == 0) return pair.substr(name.size() + 1);
      start = end + 1;
    }
  }
  return std::string();
}

WebPages::Visit WebPages::Open(const httplib::Request& req, bool posted) {
  Visit visit;
  visit.path = req.path;
  visit.form = RequestFields(req);
  visit.posted = posted;
  visit.sessionToken = CookieValue(req, kSessionCookie);
  if (!visit.sessionToken.empty())
    if (const std::optional<std::string> userId = sessions_.MemberOf(visit.sessionToken))
      visit.member = store_.FindMember(*userId);
  return visit;
}

std::optional<Member> WebPages::CheckPassword(const std::string& userId, const std::string& password) {
  const std::optional<Member> member = store_.FindMember(userId);
  // An unknown user ID costs the same digest and comparison as a known one.
  const bool same = SameText(PasswordDigest(password), member ? member->passwordDigest : std::string(32, '-'));
  if (!member || !same) return std::nullopt;
  return member;
}

void WebPages::StartSession(const Visit& visit, const Member& member, httplib::Response& res) {
  if (!visit.sessionToken.empty()) sessions_.End(visit.sessionToken);
  res.set_header("Set-Cookie", SessionCookie(sessions_.Start(member.userId)));
}

void WebPages::Guarded(const char* what, MemberPage page, const httplib::Request& req, bool posted,
                       httplib::Response& res) {
  const Visit visit = Open(req, posted);
  // A member's data must not linger in caches once the session is over.
  res.set_header("Cache-Control", "no-store");
  if (visit.posted && visit.form.count("Password")) {
    LogInPage(what, visit, res);
  } else if (visit.member) {
    (this->*page)(*visit.member, visit, res);
  } else {
    res.set_content(RenderPage("Log in", LogInForm(what, PageUrl(visit.path, visit.form), "", "")), kHtml);
  }
}

void WebPages::LogInPage(const char* what, const Visit& visit, httplib::Response& res) {
  const std::string userId = FormValue(visit.form, "UserId");
  const std::string back = PageUrl(visit.path, visit.form);
  if (const int wait = throttle_.Admit(userId); wait > 0) {
    res.status = 429;
    res.set_header("Retry-After", std::to_string(wait));
    res.set_content(RenderPage("Log in", LogInForm(what, back, userId,
                                                "Too many failed log-ins for this user ID; please try again in " +
                                                    std::to_string(wait) + (wait == 1 ? " second." : " seconds."))),
                    kHtml);
    return;
  }
  const std::optional<Member> member = CheckPassword(userId, FormValue(visit.form, "Password"));
  if (!member) {
    res.status = 403;
    res.set_content(RenderPage("Log in", LogInForm(what, back, userId, "Invalid user ID or password.")), kHtml);
    return;
  }
  throttle_.Succeeded(userId);
  StartSession(visit, *member, res);
  // Back to the page by GET, so that reloading it does not send the password again.
  res.set_redirect(back, 303);
}

void WebPages::LogOut(const Visit& visit, httplib::Response& res) {
  if (!visit.sessionToken.empty()) sessions_.End(visit.sessionToken);
  res.set_header("Set-Cookie", std::string(kSessionCookie) + "=; Path=/; Max-Age=0; HttpOnly; SameSite=Strict");
  res.set_header("Cache-Control", "no-store");
  res.set_content(RenderPage("Logged out", Notice("You are logged out.") +
                                               "<p><a href=\"/Reminders.aspx\">Log in again</a> or go "
                                               "<a href=\"/\">home</a>.</p>\n"),
                  kHtml);
}

}  // namespace reminder_service
