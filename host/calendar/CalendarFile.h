#pragma once
// The calendar file between runs: read at start, written whole after every save and delete
// (a temporary file next to it, flushed, then renamed over it, so that a crash never leaves
// half a calendar).
#include <string>

#include "host/calendar/IcalMapping.h"

namespace host::calendar {

// ${XDG_DATA_HOME:-~/.local/share}/tarvanel/calendar.ics
std::string DefaultCalendarPath();

// The calendar in the file; an empty calendar when the file does not exist. Raises
// falcrest::Error when it cannot be read or is not iCalendar.
CalendarData LoadCalendarFile(const std::string& path);
// Writes the calendar, creating the folder when needed; raises falcrest::Error on failure.
void SaveCalendarFile(const std::string& path, const CalendarData& data);

}  // namespace host::calendar
