// The calendar file: what a VEVENT gives as an appointment (start as wall time, alarms as
// the reminder), and that writing it back keeps both our fields and the ones we do not edit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "HostTestSupport.h"
#include "host/calendar/CalendarFile.h"
#include "host/client/FieldText.h"
#include "library/support/Error.h"

namespace host::calendar {
namespace {

std::string Calendar(const std::string& events) {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//Program//EN\r\n" + events + "END:VCALENDAR\r\n";
}

std::string Event(const std::string& dtstart, const std::string& alarms = "", const std::string& more = "") {
  return "BEGIN:VEVENT\r\nUID:u1\r\nDTSTAMP:20261201T000000Z\r\n" + dtstart + "\r\nSUMMARY:Planning\r\n" + more +
         alarms + "END:VEVENT\r\n";
}

std::string Alarm(const std::string& action, const std::string& trigger) {
  return "BEGIN:VALARM\r\nACTION:" + action + "\r\n" + trigger + "\r\nDESCRIPTION:x\r\nEND:VALARM\r\n";
}

// Central European time without daylight saving: UTC times read one hour later.
class FixedZone : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    saved_ = tz ? tz : "";
    hadTz_ = tz != nullptr;
    setenv("TZ", "CET-1", 1);
    tzset();
  }
  void TearDown() override {
    if (hadTz_) setenv("TZ", saved_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  std::string saved_;
  bool hadTz_ = false;
};

using IcalMappingTest = FixedZone;

TEST_F(IcalMappingTest, StartAndReminderFromEvents) {
  struct Row {
    const char* name;
    std::string dtstart;
    std::string alarms;
    const char* start;
    const char* reminder;
  };
  const Row rows[] = {
      {"floating", "DTSTART:20261210T090000", "", "2026-12-10 09:00", "off"},
      {"with TZID, read as wall time", "DTSTART;TZID=America/New_York:20261210T090000", "", "2026-12-10 09:00", "off"},
      {"UTC moved to local time", "DTSTART:20261210T080000Z", "", "2026-12-10 09:00", "off"},
      {"all-day date", "DTSTART;VALUE=DATE:20261210", "", "2026-12-10 00:00", "off"},
      {"display 15 minutes before", "DTSTART:20261210T090000", Alarm("DISPLAY", "TRIGGER:-PT15M"), "2026-12-10 09:00",
       "15 minutes before"},
      {"display one day before", "DTSTART:20261210T090000", Alarm("DISPLAY", "TRIGGER:-P1D"), "2026-12-10 09:00",
       "1440 minutes before"},
      {"display at the start", "DTSTART:20261210T090000", Alarm("DISPLAY", "TRIGGER:PT0S"), "2026-12-10 09:00",
       "0 minutes before"},
      {"audio alarm only", "DTSTART:20261210T090000", Alarm("AUDIO", "TRIGGER:-PT15M"), "2026-12-10 09:00", "off"},
      {"display after the start", "DTSTART:20261210T090000", Alarm("DISPLAY", "TRIGGER:PT5M"), "2026-12-10 09:00", "off"},
      {"display related to the end", "DTSTART:20261210T090000", Alarm("DISPLAY", "TRIGGER;RELATED=END:-PT5M"),
       "2026-12-10 09:00", "off"},
      {"display at an absolute time", "DTSTART:20261210T090000",
       Alarm("DISPLAY", "TRIGGER;VALUE=DATE-TIME:20261210T070000Z"), "2026-12-10 09:00", "off"},
      {"first display alarm wins", "DTSTART:20261210T090000",
       Alarm("AUDIO", "TRIGGER:-PT1M") + Alarm("DISPLAY", "TRIGGER:-PT10M") + Alarm("DISPLAY", "TRIGGER:-PT20M"),
       "2026-12-10 09:00", "10 minutes before"},
  };
  for (const Row& row : rows) {
    CalendarData data = ParseCalendar(Calendar(Event(row.dtstart, row.alarms)));
    ASSERT_EQ(data.appointments.size(), 1u) << row.name;
    const AppointmentFields& f = data.appointments[0].fields;
    EXPECT_EQ(StartText(f.start), row.start) << row.name;
    EXPECT_EQ(ReminderText(f), row.reminder) << row.name;
    EXPECT_EQ(f.subject, "Planning") << row.name;
  }
}

TEST_F(IcalMappingTest, DurationFromEndOrDuration) {
  struct Row {
    const char* name;
    std::string more;
    int64_t minutes;
  };
  const Row rows[] = {{"DTEND", "DTEND:20261210T103000\r\n", 90},
                      {"DURATION", "DURATION:PT45M\r\n", 45},
                      {"neither", "", 30}};
  for (const Row& row : rows) {
    CalendarData data = ParseCalendar(Calendar(Event("DTSTART:20261210T090000", "", row.more)));
    EXPECT_EQ(data.appointments.at(0).fields.durationMinutes, row.minutes) << row.name;
  }
}

TEST_F(IcalMappingTest, RoundTripKeepsOurFieldsAndTheOthers) {
  const std::string original = Calendar(
      "BEGIN:VTIMEZONE\r\nTZID:Europe/Oslo\r\nBEGIN:STANDARD\r\nDTSTART:19701025T030000\r\nTZOFFSETFROM:+0200\r\n"
      "TZOFFSETTO:+0100\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n" +
      Event("DTSTART;TZID=Europe/Oslo:20261210T090000",
            Alarm("AUDIO", "TRIGGER:-PT1M") + Alarm("DISPLAY", "TRIGGER:-PT15M"),
            "LOCATION:Room 4\r\nDESCRIPTION:Bring slides\\nand coffee\r\nCATEGORIES:Work\r\nRRULE:FREQ=WEEKLY\r\n"));
  CalendarData data = ParseCalendar(original);
  ASSERT_EQ(data.appointments.size(), 1u);
  EXPECT_EQ(data.appointments[0].fields.body, "Bring slides\nand coffee");

  // Edit every field as the inspector would, mark it deleted, write and read again.
  AppointmentFields& f = data.appointments[0].fields;
  ApplyField(f, "start", "2026-12-11 14:30");
  ApplyField(f, "subject", "Fish & Chips; \"quoted\", too");
  ApplyField(f, "location", "Room 5");
  ApplyField(f, "reminder", "45");
  data.appointments[0].deleted = true;
  const std::string written = WriteCalendar(data);
  CalendarData again = ParseCalendar(written);
  ASSERT_EQ(again.appointments.size(), 1u);
  const StoredAppointment& a = again.appointments[0];
  EXPECT_EQ(a.uid, "u1");
  EXPECT_TRUE(a.deleted);
  EXPECT_EQ(StartText(a.fields.start), "2026-12-11 14:30");
  EXPECT_EQ(a.fields.subject, "Fish & Chips; \"quoted\", too");
  EXPECT_EQ(a.fields.location, "Room 5");
  EXPECT_EQ(a.fields.body, "Bring slides\nand coffee");
  EXPECT_EQ(ReminderText(a.fields), "45 minutes before");
  EXPECT_EQ(a.fields.durationMinutes, 30);
  for (const char* kept : {"TZID=Europe/Oslo:20261211T143000", "CATEGORIES:Work", "RRULE:FREQ=WEEKLY",
                           "ACTION:AUDIO", "BEGIN:VTIMEZONE", "TRIGGER:-PT45M"}) {
    EXPECT_NE(written.find(kept), std::string::npos) << kept << " in\n" << written;
  }
  EXPECT_EQ(written.find("TRIGGER:-PT15M"), std::string::npos) << "the old display alarm is replaced";

  // Switching the reminder off drops our alarm and keeps the audio one.
  again.appointments[0].fields.reminderSet = false;
  again.appointments[0].deleted = false;
  const std::string off = WriteCalendar(again);
  CalendarData third = ParseCalendar(off);
  EXPECT_FALSE(third.appointments.at(0).fields.reminderSet);
  EXPECT_FALSE(third.appointments.at(0).deleted);
  EXPECT_NE(off.find("ACTION:AUDIO"), std::string::npos);
}

TEST_F(IcalMappingTest, AnAllDayEventStaysADateWhileItStartsAtMidnight) {
  CalendarData data = ParseCalendar(Calendar(Event("DTSTART;VALUE=DATE:20261210", "", "DTEND;VALUE=DATE:20261211\r\n")));
  EXPECT_EQ(data.appointments.at(0).fields.durationMinutes, 1440);
  EXPECT_NE(WriteCalendar(data).find("DTSTART;VALUE=DATE:20261210"), std::string::npos);
  ApplyField(data.appointments[0].fields, "start", "2026-12-10 08:00");
  EXPECT_NE(WriteCalendar(data).find("DTSTART:20261210T080000"), std::string::npos);
}

TEST(CalendarFileTest, MissingFileIsEmptyAndSavingLeavesNoTemporaryFile) {
  test::TempFolder folder;
  const std::string path = folder.Path("sub/calendar.ics");
  EXPECT_TRUE(LoadCalendarFile(path).appointments.empty());
  CalendarData data;
  StoredAppointment a;
  a.fields.subject = "Planning";
  a.fields.start = {2026, 12, 10, 9, 0, 0};
  data.appointments.push_back(a);
  SaveCalendarFile(path, data);
  SaveCalendarFile(path, data);
  EXPECT_EQ(LoadCalendarFile(path).appointments.at(0).fields.subject, "Planning");
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path("sub"))) files.push_back(entry.path().filename());
  EXPECT_EQ(files, std::vector<std::string>{"calendar.ics"});
}

TEST(CalendarFileTest, AFileThatIsNotICalendarIsAnErrorNamingIt) {
  test::TempFolder folder;
  const std::string path = folder.Path("calendar.ics");
  test::WriteFile(path, "this is not a calendar\n");
  try {
    LoadCalendarFile(path);
    FAIL() << "no error";
  } catch (const falcrest::Error& e) {
    EXPECT_NE(e.Description().find(path), std::string::npos) << e.Description();
  }
}

}  // namespace
}  // namespace host::calendar
