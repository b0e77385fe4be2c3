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
         Field("User ID", "UserId", FormValue(form, "UserId")) + Field("Password", "Password", "", "password") +
         Field("First name", "FirstName", FormValue(form, "FirstName")) +
         Field("Last name", "LastName", FormValue(form, "LastName")) +
         Field("Sign-up e-mail", "SignupEmail", FormValue(form, "SignupEmail"), "email") +
         "<p><button type=\"submit\">Sign up</button></p>\n</form>\n";
}

}  // namespace

void WebPages::Signup(const Visit& visit, httplib::Response& res) {
  const Fields& form = visit.form;
  const std::string signedIn = visit.member ? visit.member->userId : std::string();
  if (!visit.posted) {
    res.set_content(RenderPage("Sign up for a free account", SignupForm(form, {}), signedIn),
                    "text/html; charset=utf-8");
    return;
  }
  Member member{FormValue(form, "UserId"), "", Trim(FormValue(form, "FirstName")), Trim(FormValue(form, "LastName")),
                Trim(FormValue(form, "SignupEmail"))};
  const std::string password = FormValue(form, "Password");
  std::vector<std::string> errors;
  if (std::string e = CheckUserId(member.userId); !e.empty()) errors.push_back(e);
  if (password.empty()) errors.push_back("Please enter a password.");
  if (member.signupEmail.empty()) errors.push_back("Please enter the e-mail address to sign up with.");
  member.passwordDigest = PasswordDigest(password);
  if (errors.empty() && !store_.AddMember(member))
    errors.push_back("The user ID \"" + member.userId + "\" is taken; please choose another.");
  if (!errors.empty()) {
    res.status = 400;
    res.set_content(RenderPage("Sign up for a free account", SignupForm(form, errors), signedIn),
                    "text/html; charset=utf-8");
    return;
  }
  // The new member has just chosen the password: no need to type it again.
  StartSession(visit, member, res);
  res.set_content(RenderPage("Welcome", Notice("Your account \"" + member.userId + "\" is ready.") +
                                            "<p>Next, <a href=\"/EditDevice.aspx\">set up the devices</a> "
                                            "that your reminders go to.</p>\n",
                             member.userId),
                  "text/html; charset=utf-8");
}

std::string WebPages::DeviceForm(const Member& member, const std::string& message) {
  std::map<std::string, Device> current;
  for (const Device& d : store_.Devices(member.userId)) current[d.type] = d;
  std::string html = (message.empty() ? std::string() : Notice(message)) +
                     "<p>Where your reminders go. An empty address removes that device.</p>\n"
                     "<form method=\"post\" action=\"/EditDevice.aspx\">\n" +
                     Hidden("Save", "1");
  for (const char* type : falcrest::kDeviceTypeNames) {
    const Device& d = current[type];
    html += Field(DeviceLabel(type), std::string("Address_") + type, d.address);
    if (std::string(type) == "SMS") html += Field("SMS provider", "Provider_SMS", d.provider);
  }
  return html + "<p><button type=\"submit\">Save devices</button></p>\n</form>\n" +
         "<p><a href=\"/Reminders.aspx\">Your reminders</a></p>\n";
}

void WebPages::EditDevice(const Member& member, const Visit& visit, httplib::Response& res) {
  const Fields& form = visit.form;
  std::string message;
  if (visit.posted && !FormValue(form, "Save").empty()) {
    for (const char* type : falcrest::kDeviceTypeNames) {
      const std::string address = Trim(FormValue(form, std::string("Address_") + type));
      if (address.empty()) {
        store_.RemoveDevice(member.userId, type);
        continue;
      }
      const std::string provider = std::string(type) == "SMS" ? Trim(FormValue(form, "Provider_SMS")) : std::string();
      store_.SetDevice(member.userId, Device{0, type, address, provider});
    }
    message = "Your devices are saved.";
  }
  res.set_content(RenderPage("Set up devices", DeviceForm(member, message), member.userId),
                  "text/html; charset=utf-8");
}

}  // namespace reminder_service
