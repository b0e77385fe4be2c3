#pragma once
// The calendar's iCalendar form. A VEVENT gives one appointment: DTSTART (floating, with a
// TZID or a date, read as local wall time; UTC moved to local time), SUMMARY, LOCATION,
// DESCRIPTION, the end (DTEND or DURATION) as a duration, and the reminder from the first
// VALARM with ACTION:DISPLAY whose TRIGGER is relative to the start and not after it.
// Deleted Items sit in the same calendar, marked X-TARVANEL-FOLDER:DeletedItems.
#include <string>
#include <vector>

#include "host/objectmodel/Items.h"

namespace host::calendar {

inline constexpr const char* kFolderProperty = "X-TARVANEL-FOLDER";
inline constexpr const char* kDeletedItemsMarker = "DeletedItems";

struct StoredAppointment {
  AppointmentFields fields;
  std::string uid;
  bool deleted = false;
  // The VEVENT as read; writing keeps every property the host does not edit.
  std::string source;
};

struct CalendarData {
  std::vector<StoredAppointment> appointments;
  // The other components of the calendar (time zones, to-dos), written back unchanged.
  std::vector<std::string> otherComponents;
};

// Reads an iCalendar text; raises falcrest::Error when it is not one.
CalendarData ParseCalendar(const std::string& text);
// The iCalendar text of the data; an appointment without a UID gets a fresh one.
std::string WriteCalendar(const CalendarData& data);

// A new unique UID for an appointment.
std::string NewUid();

}  // namespace host::calendar
