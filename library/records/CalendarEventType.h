#pragma once
// The calendar event of a reminder.
#include <cstdint>
#include <string>

namespace falcrest {

struct CalendarEventType {
  int32_t EventId = 0;
  int32_t ExternalId = 0;
  std::string EventDateTime;  // element "EventDateTimeString"
  std::string Subject;
  std::string Description;
  std::string RepeatOption;   // stored as read, never interpreted
  std::string RepeatEndDate;  // stored as read, never interpreted

  std::string Serialize(const std::string& tag = "Event") const;
  void Deserialize(const std::string& xml);
};

}  // namespace falcrest
