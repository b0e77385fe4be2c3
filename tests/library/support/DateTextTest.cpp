#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#ifdef _WIN32
#include <windows.h>
#endif

#include "library/support/DateText.h"

namespace falcrest {
namespace {

LocalDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  LocalDateTime t;
  t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
  return t;
}

// Sets the two pattern variables for one test and clears them afterwards. On Windows the
// text is the system's, from the user's regional settings: the United States forms, as the
// tests' Wine prefix has them.
class DateText : public ::testing::Test {
#ifndef _WIN32
 protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }
  static void Clear() {
    unsetenv("FALCREST_SHORT_DATE");
    unsetenv("FALCREST_LONG_TIME");
  }
#endif
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

#ifdef _WIN32
// The user's short date and long time as the system writes them on their own, joined by
// one blank; the date alone at midnight. Also run with German regional settings.
TEST_F(DateText, UserRegionalSettings) {
  SYSTEMTIME st = {};
  st.wYear = 2024, st.wMonth = 3, st.wDay = 7, st.wHour = 21, st.wMinute = 5, st.wSecond = 3;
  char date[128], time[128];
  ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date), 0);
  ASSERT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, sizeof time), 0);
  EXPECT_EQ(GeneralDateText(At(2024, 3, 7, 21, 5, 3)), std::string(date) + " " + time);
  EXPECT_EQ(GeneralDateText(At(2024, 3, 7)), date);
  if (PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN) {  // dots, and a 24-hour clock
    EXPECT_EQ(GeneralDateText(At(2024, 3, 7, 21, 5, 3)).substr(0, 4), "7.3.");
    EXPECT_EQ(GeneralDateText(At(2024, 3, 7, 21, 5, 3)).substr(8), " 21:05:03");
  }
}
#else
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
#endif

}  // namespace
}  // namespace falcrest
