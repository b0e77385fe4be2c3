#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "library/support/DateText.h"

namespace falcrest {
namespace {

LocalDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  LocalDateTime t;
  t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
  return t;
}

// Sets the two pattern variables for one test and clears them afterwards.
class DateText : public ::testing::Test {
 protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }
  static void Clear() {
    unsetenv("FALCREST_SHORT_DATE");
    unsetenv("FALCREST_LONG_TIME");
  }
};

TEST_F(DateText, DefaultsAreUnitedStatesForms) {
  struct Row { LocalDateTime t; const char* text; };
  const Row rows[] = {
      {At(2024, 3, 7, 9, 5, 0), "3/7/2024 9:05:00 AM"},
      {At(2024, 12, 25, 23, 59, 59), "12/25/2024 11:59:59 PM"},
      {At(2024, 3, 7, 12, 0, 0), "3/7/2024 12:00:00 PM"},
      {At(2024, 3, 7, 0, 0, 1), "3/7/2024 12:00:01 AM"},
      {At(2024, 3, 7, 0, 0, 0), "3/7/2024"},  // midnight: the date alone
  };
  for (const Row& row : rows) EXPECT_EQ(GeneralDateText(row.t), row.text) << row.text;
}

TEST_F(DateText, PatternsFromTheEnvironment) {
  struct Row { const char* date; const char* time; LocalDateTime t; const char* text; };
  const Row rows[] = {
      {"dd.MM.yyyy", "HH:mm:ss", At(2024, 3, 7, 9, 5, 3), "07.03.2024 09:05:03"},
      {"yyyy-MM-dd", "H:m:s", At(2024, 3, 7, 9, 5, 3), "2024-03-07 9:5:3"},
      {"d/M/yy", "hh:mm t", At(2009, 11, 2, 15, 4, 0), "2/11/09 03:04 P"},
      {"yyyy'年'M'月'd'日'", "tt h:mm", At(2024, 3, 7, 8, 30, 0), "2024年3月7日 AM 8:30"},
      {"'It''s' d", "H'h'mm", At(2024, 3, 7, 8, 30, 0), "It's 7 8h30"},
      {"ddd dd-MMM-yyyy", "HH:mm", At(2024, 3, 7, 8, 30, 0), "Thu 07-Mar-2024 08:30"},
      {"dddd, MMMM d", "HH:mm", At(2024, 3, 10, 8, 30, 0), "Sunday, March 10 08:30"},
      {"", "", At(2024, 3, 7, 8, 30, 0), "3/7/2024 8:30:00 AM"},  // empty means default
      {"dd.MM.yyyy", "HH:mm:ss", At(2024, 3, 7, 0, 0, 0), "07.03.2024"},
  };
  for (const Row& row : rows) {
    setenv("FALCREST_SHORT_DATE", row.date, 1);
    setenv("FALCREST_LONG_TIME", row.time, 1);
    EXPECT_EQ(GeneralDateText(row.t), row.text) << row.date << " | " << row.time;
  }
}

}  // namespace
}  // namespace falcrest
