// Sign-up and device set-up pages.
#include <cctype>

#include "library/constants/DeviceTypes.h"
#include "reference-service/Html.h"
#include "reference-service/Pages.h"
#include "reference-service/PasswordDigest.h"

namespace reminder_service {

namespace {

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

std::string Get(const std::map<std::string, std::string>& form, const std::string& name) {
  const auto it = form.find(name);
  return it == form.end() ? std::string() : it->second;
}

// The settings page keeps the user ID trimmed, so blanks inside it could never log in.
std::string CheckUserId(const std::string& userId) {
  if (userId.empty()) return "Please enter a user ID.";
  if (userId.size() > 64) return "The user ID may have at most 64 characters.";
  for (unsigned char c : userId)
    if (std::isspace(c) || std::iscntrl(c)) return "The user ID may not contain blanks or control characters.";
  return std::string();
}

std::string SignupForm(const std::map<std::string, std::string>& form, const std::vector<std::string>& errors) {
  return ErrorList(errors) + "<form method=\"post\" action=\"/Signup.aspx\">\n" +
         Field("User ID", "UserId", Get(form, "UserId")) + Field("Password", "Password", "", "password") +
         Field("First name", "FirstName", Get(form, "FirstName")) +
         Field("Last name", "LastName", Get(form, "LastName")) +
         Field("Sign-up e-mail", "SignupEmail", Get(form, "SignupEmail"), "email") +
         "<p><button type=\"submit\">Sign up</button></p>\n</form>\n";
}

std::string LoginForm(const std::string& action, const std::string& userId, const std::string& error) {
  return ErrorList(error.empty() ? std::vector<std::string>{} : std::vector<std::string>{error}) +
         "<form method=\"post\" action=\"" + action + "\">\n" + Field("User ID", "UserId", userId) +
         Field("Password", "Password", "", "password") + "<p><button type=\"submit\">Log in</button></p>\n</form>\n";
}

}  // namespace

std::optional<Member> WebPages::LogIn(const Fields& form) {
  std::optional<Member> member = store_.FindMember(Get(form, "UserId"));
  if (!member || member->passwordDigest != PasswordDigest(Get(form, "Password"))) return std::nullopt;
  return member;
}

void WebPages::Signup(const Fields& form, bool posted, httplib::Response& res) {
  if (!posted) {
    res.set_content(RenderPage("Sign up for a free account", SignupForm(form, {})), "text/html; charset=utf-8");
    return;
  }
  Member member{Get(form, "UserId"), "", Trim(Get(form, "FirstName")), Trim(Get(form, "LastName")),
                Trim(Get(form, "SignupEmail"))};
  const std::string password = Get(form, "Password");
  std::vector<std::string> errors;
  if (std::string e = CheckUserId(member.userId); !e.empty()) errors.push_back(e);
  if (password.empty()) errors.push_back("Please enter a password.");
  if (member.signupEmail.empty()) errors.push_back("Please enter the e-mail address to sign up with.");
  member.passwordDigest = PasswordDigest(password);
  if (errors.empty() && !store_.AddMember(member))
    errors.push_back("The user ID \"" + member.userId + "\" is taken; please choose another.");
  if (!errors.empty()) {
    res.status = 400;
    res.set_content(RenderPage("Sign up for a free account", SignupForm(form, errors)), "text/html; charset=utf-8");
    return;
  }
  res.set_content(RenderPage("Welcome", Notice("Your account \"" + member.userId + "\" is ready.") +
                                            "<p>Next, <a href=\"/EditDevice.aspx\">set up the devices</a> "
                                            "that your reminders go to.</p>\n"),
                  "text/html; charset=utf-8");
}

std::string WebPages::DeviceForm(const Member& member, const std::string& password, const std::string& message) {
  std::map<std::string, Device> current;
  for (const Device& d : store_.Devices(member.userId)) current[d.type] = d;
  std::string html = (message.empty() ? std::string() : Notice(message)) + "<p>Signed in as <b>" +
                     EscapeHtml(member.userId) +
                     "</b>. An empty address removes that device.</p>\n"
                     "<form method=\"post\" action=\"/EditDevice.aspx\">\n" +
                     Hidden("UserId", member.userId) + Hidden("Password", password) + Hidden("Save", "1");
  for (const char* type : falcrest::kDeviceTypeNames) {
    const Device& d = current[type];
    html += Field(DeviceLabel(type), std::string("Address_") + type, d.address);
    if (std::string(type) == "SMS") html += Field("SMS provider", "Provider_SMS", d.provider);
  }
  return html + "<p><button type=\"submit\">Save devices</button></p>\n</form>\n" +
         "<p><a href=\"/Reminders.aspx?user=" + EscapeHtml(EncodeQueryValue(member.userId)) +
         "\">Your reminders</a></p>\n";
}

void WebPages::EditDevice(const Fields& form, bool posted, httplib::Response& res) {
  const char* title = "Set up devices";
  if (!posted) {
    res.set_content(RenderPage(title, LoginForm("/EditDevice.aspx", Get(form, "UserId"), "")),
                    "text/html; charset=utf-8");
    return;
  }
  const std::optional<Member> member = LogIn(form);
  if (!member) {
    res.status = 403;
    res.set_content(RenderPage(title, LoginForm("/EditDevice.aspx", Get(form, "UserId"), "Invalid user ID or password.")),
                    "text/html; charset=utf-8");
    return;
  }
  std::string message;
  if (!Get(form, "Save").empty()) {
    for (const char* type : falcrest::kDeviceTypeNames) {
      const std::string address = Trim(Get(form, std::string("Address_") + type));
      if (address.empty()) {
        store_.RemoveDevice(member->userId, type);
        continue;
      }
      const std::string provider = std::string(type) == "SMS" ? Trim(Get(form, "Provider_SMS")) : std::string();
      store_.SetDevice(member->userId, Device{0, type, address, provider});
    }
    message = "Your devices are saved.";
  }
  res.set_content(RenderPage(title, DeviceForm(*member, Get(form, "Password"), message)), "text/html; charset=utf-8");
}

}  // namespace reminder_service
