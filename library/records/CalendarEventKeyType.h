#pragma once
// The key by which the service finds the reminders of one event.
#include <string>

namespace falcrest {

struct CalendarEventKeyType {
  std::string UserId;
  std::string EventDateTime;  // element "EventDateTimeString"
  std::string Subject;

  std::string Serialize(const std::string& tag = "EventKey") const;
  void Deserialize(const std::string& xml);
};

}  // namespace falcrest
