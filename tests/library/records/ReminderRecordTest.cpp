#include <string>

#include "RecordTestUtil.h"
#include "library/records/CalendarEventKeyType.h"
#include "library/records/CalendarEventType.h"
#include "library/records/ReminderType.h"

namespace falcrest {
namespace {

using testing::Device;
using testing::ExpectError;

const char* const kNewEvent =
    "<Event><EventId>0</EventId><ExternalId>0</ExternalId><EventDateTimeString></EventDateTimeString>"
    "<Subject></Subject><Description></Description><RepeatOption></RepeatOption><RepeatEndDate></RepeatEndDate>"
    "</Event>";

std::shared_ptr<CalendarEventType> FilledEvent() {
  auto e = std::make_shared<CalendarEventType>();
  e->EventId = 12;
  e->ExternalId = -3;
  e->EventDateTime = "3/7/2024 9:00:00 AM";
  e->Subject = "Dentist";
  e->Description = "Bring card";
  e->RepeatOption = "None";
  e->RepeatEndDate = "3/7/2025";
  return e;
}

TEST(EventRecord, Fragments) {
  EXPECT_EQ(CalendarEventType().Serialize(), kNewEvent);
  EXPECT_EQ(FilledEvent()->Serialize(),
            "<Event><EventId>12</EventId><ExternalId>-3</ExternalId><EventDateTimeString>3/7/2024 9:00:00 AM"
            "</EventDateTimeString><Subject>Dentist</Subject><Description>Bring card</Description>"
            "<RepeatOption>None</RepeatOption><RepeatEndDate>3/7/2025</RepeatEndDate></Event>");
}

TEST(EventRecord, DeserializeRoundTripAndGuards) {
  CalendarEventType e;
  e.Deserialize(FilledEvent()->Serialize());
  EXPECT_EQ(e.Serialize(), FilledEvent()->Serialize());

  // expected 0: the number does not fit, an overflow error naming the field.
  struct Row { const char* field; const char* id; int32_t expected; };
  const Row rows[] = {{"EventId", "abc", 77},         {"EventId", "", 77},      {"EventId", "41", 41},
                      {"EventId", "-2", -2},          {"EventId", "99999999999", 0},
                      {"ExternalId", "-2147483649", 0}, {"ExternalId", "x1", 77}};
  for (const Row& row : rows) {
    CalendarEventType g;
    g.EventId = 77;
    g.ExternalId = 77;
    std::string xml = kNewEvent;
    const std::string open = std::string("<") + row.field + ">";
    xml.replace(xml.find(open + "0"), open.size() + 1, open + row.id);
    if (row.expected == 0) {
      ExpectError([&] { g.Deserialize(xml); }, 6,
                  std::string("The calendar event's ") + row.field + " \"" + row.id + "\" does not fit", row.id);
      continue;
    }
    g.Deserialize(xml);
    EXPECT_EQ(std::string(row.field) == "EventId" ? g.EventId : g.ExternalId, row.expected) << row.id;
  }

  const char* required[] = {"EventId", "ExternalId", "EventDateTimeString", "Subject", "Description",
                            "RepeatOption", "RepeatEndDate"};
  for (const char* name : required) {
    std::string xml = kNewEvent;
    size_t from = xml.find(std::string("<") + name + ">");
    size_t to = xml.find(std::string("</") + name + ">") + std::string(name).size() + 3;
    xml.erase(from, to - from);
    CalendarEventType g;
    ExpectError([&] { g.Deserialize(xml); }, 91, std::string("The calendar event record has no ") + name, name);
  }
}

TEST(EventRecord, RepeatTextsKeptAsWritten) {
  CalendarEventType e;
  e.Deserialize(
      "<Event><EventId>1</EventId><ExternalId>2</ExternalId><EventDateTimeString>x</EventDateTimeString>"
      "<Subject/><Description/><RepeatOption>Weekly</RepeatOption><RepeatEndDate></RepeatEndDate></Event>");
  EXPECT_EQ(e.RepeatOption, "Weekly");
  EXPECT_EQ(e.RepeatEndDate, "");
}

TEST(EventKeyRecord, FragmentsAndRead) {
  EXPECT_EQ(CalendarEventKeyType().Serialize(),
            "<EventKey><UserId></UserId><EventDateTimeString></EventDateTimeString><Subject></Subject></EventKey>");
  CalendarEventKeyType k;
  k.UserId = "1001";
  k.EventDateTime = "3/7/2024 9:00:00 AM";
  k.Subject = "Dentist";
  EXPECT_EQ(k.Serialize("eventKey"),
            "<eventKey><UserId>1001</UserId><EventDateTimeString>3/7/2024 9:00:00 AM</EventDateTimeString>"
            "<Subject>Dentist</Subject></eventKey>");
  CalendarEventKeyType back;
  back.Deserialize(k.Serialize());
  EXPECT_EQ(back.Serialize(), k.Serialize());
  ExpectError([&] { back.Deserialize("<EventKey><UserId>1</UserId><Subject/></EventKey>"); }, 91,
              "The event key record has no EventDateTimeString element", "no date");
}

TEST(ReminderRecord, WithoutEventAndMember) {
  ReminderType r;
  r.RemindDateTime = "3/7/2024 8:45:00 AM";
  EXPECT_EQ(r.Serialize(),
            "<Reminder><RemindDateTime>3/7/2024 8:45:00 AM</RemindDateTime><Contacts></Contacts></Reminder>");
  EXPECT_EQ(ReminderType().Serialize("reminder"),
            "<reminder><RemindDateTime></RemindDateTime><Contacts></Contacts></reminder>");
}

TEST(ReminderRecord, FilledReminderFragment) {
  ReminderType r;
  r.EventPropty = FilledEvent();
  r.RemindDateTime = "3/7/2024 8:45:00 AM";
  r.User = std::make_shared<MemberType>();
  r.User->UserId = "1001";
  r.User->Devices = RecordArray<DeviceType>(0, 1);
  r.User->Devices.Set(0, Device(1, "SMS", "555"));
  r.Contacts = RecordArray<ContactType>(0, 2);
  r.Contacts.Set(0, std::make_shared<ContactType>());
  r.Contacts.Set(1, std::make_shared<ContactType>());
  r.Contacts.At(1)->FullName = "Bo";
  EXPECT_EQ(r.Serialize(), "<Reminder>" + FilledEvent()->Serialize() +
                               "<RemindDateTime>3/7/2024 8:45:00 AM</RemindDateTime>" + r.User->Serialize("User") +
                               "<Contacts>" + ContactType().Serialize() + r.Contacts.At(1)->Serialize() +
                               "</Contacts></Reminder>");
  // The records are shared, not copied.
  r.EventPropty->Subject = "Changed";
  EXPECT_NE(r.Serialize().find("<Subject>Changed</Subject>"), std::string::npos);

  for (int32_t upper : {0, -1}) {
    r.Contacts = RecordArray<ContactType>(upper < 0 ? -3 : 0, upper);
    EXPECT_NE(r.Serialize().find("<Contacts></Contacts>"), std::string::npos) << upper;
  }
  r.Contacts = RecordArray<ContactType>(0, 2);
  ExpectError([&] { r.Serialize(); }, 91, "index 0", "empty contact slot");
}

TEST(ReminderRecord, DeserializeThreeContacts) {
  std::string contacts;
  for (const char* name : {"A", "B", "C"}) {
    ContactType c;
    c.FullName = name;
    contacts += c.Serialize();
  }
  ReminderType r;
  r.User = std::make_shared<MemberType>();
  r.User->UserId = "mine";
  r.Deserialize("<Reminder xmlns=\"http://tarvanel.example/\">" + FilledEvent()->Serialize() +
                "<RemindDateTime>later</RemindDateTime><User><UserId>theirs</UserId></User><Contacts>" + contacts +
                "</Contacts></Reminder>");
  ASSERT_TRUE(r.EventPropty);
  EXPECT_EQ(r.EventPropty->Serialize(), FilledEvent()->Serialize());
  EXPECT_EQ(r.RemindDateTime, "later");
  EXPECT_EQ(r.User->UserId, "mine");  // the member is not read
  ASSERT_TRUE(r.Contacts.Assigned());
  EXPECT_EQ(r.Contacts.Lower(), 0);
  EXPECT_EQ(r.Contacts.Upper(), 3);
  EXPECT_EQ(r.Contacts.At(0)->FullName, "A");
  EXPECT_EQ(r.Contacts.At(1)->FullName, "B");
  EXPECT_EQ(r.Contacts.At(2)->FullName, "C");
  EXPECT_EQ(r.Contacts.At(3), nullptr);
}

TEST(ReminderRecord, DeserializeErrors) {
  ReminderType r;
  ExpectError([&] { r.Deserialize("<Reminder><RemindDateTime>x</RemindDateTime></Reminder>"); }, 91,
              "The reminder record has no Event element", "no event");
  ExpectError([&] { r.Deserialize(std::string("<Reminder>") + kNewEvent + "</Reminder>"); }, 91,
              "The reminder record has no RemindDateTime element", "no time");
  ReminderType kept;
  kept.Contacts = RecordArray<ContactType>(0, 4);
  kept.Deserialize(std::string("<Reminder>") + kNewEvent + "<RemindDateTime/><Contacts/></Reminder>");
  EXPECT_EQ(kept.Contacts.Upper(), 4);  // no contacts: left as it was
}

}  // namespace
}  // namespace falcrest
