#pragma once
// Appointment fields as the front ends write and read them: "start" as "2026-12-10 09:00",
// "reminder" as a number of minutes or "off".
#include <string>

#include "host/objectmodel/Items.h"

namespace host {

// Sets one field from its text. Names (any case): subject, start, location, body,
// reminder (minutes, "on" or "off"), duration (minutes). Raises falcrest::Error naming
// the field for an unknown name or a value that does not fit.
void ApplyField(AppointmentFields& fields, const std::string& name, const std::string& value);

// "2026-12-10 09:00" (seconds only when not zero).
std::string StartText(const falcrest::LocalDateTime& start);
// "15 minutes before" or "off".
std::string ReminderText(const AppointmentFields& fields);
// One line for lists: start, subject, location, reminder.
std::string AppointmentLine(const AppointmentFields& fields);

}  // namespace host
