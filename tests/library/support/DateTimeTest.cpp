#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "library/support/DateTime.h"

namespace falcrest {

// How a date-time shows in a failure message.
void PrintTo(const LocalDateTime& t, std::ostream* os) {
  *os << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute << ":" << t.second;
}

namespace {

LocalDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  LocalDateTime t;
  t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
  return t;
}

TEST(DateTime, ParsesThePlatformForms) {
  struct Row { const char* text; bool ok; LocalDateTime expected; };
  const Row rows[] = {
      {"3/7/2024", true, At(2024, 3, 7)},
      {"12/31/9999", true, At(9999, 12, 31)},
      {"1/1/100", true, At(100, 1, 1)},
      {"3/7/2024 9:05 AM", true, At(2024, 3, 7, 9, 5)},
      {"3/7/2024 9:05:30 pm", true, At(2024, 3, 7, 21, 5, 30)},
      {"3/7/2024 12:00:00 AM", true, At(2024, 3, 7, 0, 0, 0)},
      {"3/7/2024 12:15 PM", true, At(2024, 3, 7, 12, 15)},
      {"3/7/2024 17:45", true, At(2024, 3, 7, 17, 45)},
      {"2024-03-07", true, At(2024, 3, 7)},
      {"2024-03-07 17:45:10", true, At(2024, 3, 7, 17, 45, 10)},
      {" 2/29/2024 ", true, At(2024, 2, 29)},
      {"0001-01-01T00:00:00", false, {}},
      {"2024-03-07T17:45:10", false, {}},
      {"1/1/0001", false, {}},
      {"1/1/99", false, {}},
      {"2/29/2023", false, {}},
      {"13/1/2024", false, {}},
      {"3/7/2024 24:00", false, {}},
      {"3/7/2024 13:00 PM", false, {}},
      {"3/7/2024 9:5", false, {}},
      {"3/7/2024x", false, {}},
      {"", false, {}},
      {"yes", false, {}},
      {"5", false, {}},
  };
  for (const Row& row : rows) {
    LocalDateTime out = At(1999, 9, 9, 9, 9, 9);
    EXPECT_EQ(TryParseDateTime(row.text, out), row.ok) << row.text;
    EXPECT_EQ(out, row.ok ? row.expected : At(1999, 9, 9, 9, 9, 9)) << row.text;
  }
}

TEST(DateTime, OleDates) {
  struct Row { LocalDateTime t; double ole; };
  const Row rows[] = {
      {At(1899, 12, 30), 0.0},
      {At(1899, 12, 31, 12), 1.5},
      {At(1900, 1, 1, 6), 2.25},
      {At(1899, 12, 29, 6), -1.25},  // before the epoch the time still counts forward
      {At(2024, 3, 7, 18), 45358.75},
      {At(100, 1, 1), -657434.0},
      {At(9999, 12, 31), 2958465.0},
  };
  for (const Row& row : rows) {
    EXPECT_DOUBLE_EQ(ToOleDate(row.t), row.ole) << testing::PrintToString(row.t);
  }
}

TEST(DateTime, AddMinutesCrossesDaysMonthsYears) {
  EXPECT_EQ(AddMinutes(At(2024, 3, 7, 9, 0), -15), At(2024, 3, 7, 8, 45));
  EXPECT_EQ(AddMinutes(At(2024, 3, 1, 0, 10), -15), At(2024, 2, 29, 23, 55));
  EXPECT_EQ(AddMinutes(At(2023, 12, 31, 23, 50), 15), At(2024, 1, 1, 0, 5));
  EXPECT_EQ(AddMinutes(At(2024, 3, 7, 9, 0), -2 * 24 * 60), At(2024, 3, 5, 9, 0));
  EXPECT_EQ(AddMinutes(At(1899, 12, 30, 0, 0), -1), At(1899, 12, 29, 23, 59));
  EXPECT_EQ(AddMinutes(At(2024, 3, 7, 9, 0, 30), 0), At(2024, 3, 7, 9, 0, 30));
}

}  // namespace
}  // namespace falcrest
