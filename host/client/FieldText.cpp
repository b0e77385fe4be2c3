#include "host/client/FieldText.h"

#include <cstdio>

#include "host/text/Words.h"
#include "library/support/Error.h"

namespace host {
namespace {

[[noreturn]] void RaiseField(const std::string& description) {
  throw falcrest::Error(falcrest::error_number::kComponentBase + 0x130, "reminder-host", description);
}

int Minutes(const std::string& name, const std::string& value) {
  int minutes = 0;
  if (!ParseInt(value, minutes) || minutes < 0) {
    RaiseField("The " + name + " must be a whole number of minutes, 0 or more; got \"" + value + "\"");
  }
  return minutes;
}

}  // namespace

void ApplyField(AppointmentFields& fields, const std::string& name, const std::string& value) {
  const std::string field = Lower(name);
  if (field == "subject") {
    fields.subject = value;
  } else if (field == "location") {
    fields.location = value;
  } else if (field == "body") {
    fields.body = value;
  } else if (field == "start") {
    falcrest::LocalDateTime start;
    if (!falcrest::TryParseDateTime(value, start)) {
      RaiseField("The start \"" + value + "\" is not a date and time; write it as 2026-12-10 09:00");
    }
    fields.start = start;
  } else if (field == "duration") {
    fields.durationMinutes = Minutes("duration", value);
  } else if (field == "reminder" || field == "remindermin" || field == "reminderminutesbeforestart") {
    const std::string v = Lower(value);
    if (v == "off") {
      fields.reminderSet = false;
    } else if (v == "on") {
      fields.reminderSet = true;
    } else {
      fields.reminderMinutesBeforeStart = Minutes("reminder", value);
      fields.reminderSet = true;
    }
  } else if (field == "reminderset") {
    const std::string v = Lower(value);
    if (v == "true" || v == "on" || v == "yes") {
      fields.reminderSet = true;
    } else if (v == "false" || v == "off" || v == "no") {
      fields.reminderSet = false;
    } else {
      RaiseField("ReminderSet takes true or false; got \"" + value + "\"");
    }
  } else {
    RaiseField("An appointment has no field \"" + name +
               "\"; the fields are subject, start, location, body, reminder and duration");
  }
}

std::string StartText(const falcrest::LocalDateTime& t) {
  char text[40];
  if (t.second != 0) {
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  } else {
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
  }
  return text;
}

std::string ReminderText(const AppointmentFields& fields) {
  if (!fields.reminderSet) return "off";
  return std::to_string(fields.reminderMinutesBeforeStart) + " minutes before";
}

std::string AppointmentLine(const AppointmentFields& fields) {
  std::string line = StartText(fields.start) + "  " + fields.subject;
  if (!fields.location.empty()) line += "  @ " + fields.location;
  line += "  (reminder " + ReminderText(fields) + ")";
  return line;
}

}  // namespace host
