#pragma once
// A reminder to be created or changed: event, remind time, member, contacts.
#include <memory>
#include <string>

#include "library/records/CalendarEventType.h"
#include "library/records/ContactType.h"
#include "library/records/MemberType.h"
#include "library/records/RecordArray.h"

namespace falcrest {

struct ReminderType {
  std::shared_ptr<CalendarEventType> EventPropty;  // shared, may be empty
  std::string RemindDateTime;
  std::shared_ptr<MemberType> User;  // shared, may be empty; written under "User"
  RecordArray<ContactType> Contacts;  // spare last slot

  std::string Serialize(const std::string& tag = "Reminder") const;
  // Reads the event, the remind time and the contacts; the member is not read.
  void Deserialize(const std::string& xml);
};

}  // namespace falcrest
