#pragma once
// The service's web pages: sign-up, device set-up, and the member's reminders.
// Plain HTML forms, no scripts; every text from the store or the request is escaped.
#include <httplib.h>

#include <map>
#include <optional>
#include <string>

#include "reference-service/ReminderStore.h"

namespace reminder_service {

class WebPages {
 public:
  explicit WebPages(ReminderStore& store) : store_(store) {}

  // Adds the routes of every page to the server.
  void Register(httplib::Server& server);

 private:
  using Fields = std::map<std::string, std::string>;

  void Home(httplib::Response& res);
  void ServiceInfo(httplib::Response& res);
  void Signup(const Fields& form, bool posted, httplib::Response& res);
  void EditDevice(const Fields& form, bool posted, httplib::Response& res);
  void Reminders(const Fields& form, bool posted, httplib::Response& res);
  void Reminder(const Fields& form, httplib::Response& res);

  // The member whose user ID and password the form carries, if they match.
  std::optional<Member> LogIn(const Fields& form);
  std::string DeviceForm(const Member& member, const std::string& password, const std::string& message);
  std::string ReminderList(const Member& member);

  ReminderStore& store_;
};

// Query parameters, then the fields of a url-encoded body.
std::map<std::string, std::string> RequestFields(const httplib::Request& req);
// The label a person sees for a device type name ("HomeEmail" -> "Home Email").
std::string DeviceLabel(const std::string& type);

}  // namespace reminder_service
