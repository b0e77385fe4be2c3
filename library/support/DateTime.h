#pragma once
// Local date-times of appointments, and the OLE Automation date of the records.
#include <cstdint>
#include <string>

namespace falcrest {

struct LocalDateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;

  bool operator==(const LocalDateTime& o) const;
  bool operator!=(const LocalDateTime& o) const { return !(*this == o); }
};

// The same local time moved by a number of minutes (negative goes back), across days,
// months and years.
LocalDateTime AddMinutes(const LocalDateTime& t, int64_t minutes);

// OLE Automation date: days since 1899-12-30, fraction = time of day.
double ToOleDate(const LocalDateTime& t);

// Reads a date and time the way the platform's date test does, for years 100 to 9999:
// "M/d/yyyy", "M/d/yyyy h:mm[:ss] AM|PM", "M/d/yyyy H:mm[:ss]", "yyyy-MM-dd",
// "yyyy-MM-dd HH:mm[:ss]". The ISO form with "T" ("0001-01-01T00:00:00") is not a date here.
bool TryParseDateTime(const std::string& text, LocalDateTime& out);

}  // namespace falcrest
