// Open, save and delete of appointments against a scripted service: the remote id slot, the
// records sent, the texts of dates and descriptions, and the errors shown.
#include "AddinFixture.h"

namespace addin_test {
namespace {

constexpr const char* kDemoDigest = "FE01CE2A7FBAC8FAFAED7C982A04E229";  // MD5 of "demo"

class Synchronisation : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    StoreSetting(falcrest::kDeviceValue, "HomeEmail");
    Connect();
  }
  std::string OnlyBody(const std::string& method) {
    auto calls = service.CallsOf(method);
    EXPECT_EQ(calls.size(), 1u) << method;
    return calls.empty() ? std::string() : calls[0].body;
  }
};

TEST_F(Synchronisation, TheRemoteIdFoundOnOpeningDecidesTheSave) {
  auto appointment = Track();
  service.SetReminderId(42);
  EXPECT_FALSE(appointment->RaiseOpen());
  const std::string key = OnlyBody("GetReminderIds");
  EXPECT_EQ(ElementText(key, "eventKey"), "<UserId>demo</UserId><EventDateTimeString>3/5/2024 2:30:00 PM"
                                          "</EventDateTimeString><Subject>Dentist</Subject>");
  EXPECT_EQ(ElementText(ElementText(key, "license"), "Password"), kDemoDigest);

  // Edits after opening do not change which remote event is modified.
  appointment->subject = "Dentist (moved)";
  service.ClearCalls();
  EXPECT_FALSE(appointment->RaiseWrite());
  const std::string modify = OnlyBody("ModifyReminderByEventId");
  EXPECT_EQ(ElementText(modify, "EventId"), "42");
  EXPECT_EQ(ElementText(modify, "Subject"), "Dentist (moved)");
  EXPECT_TRUE(service.CallsOf("CreateReminder").empty());

  // The slot is cleared by every save: a second save creates.
  service.ClearCalls();
  appointment->RaiseWrite();
  EXPECT_EQ(ElementText(OnlyBody("CreateReminder"), "EventId"), "0");

  // Reopened: found again, modified again.
  service.ClearCalls();
  appointment->RaiseOpen();
  appointment->RaiseWrite();
  EXPECT_EQ(service.CallsOf("ModifyReminderByEventId").size(), 1u);

  // Reminder switched off: the event found on opening is deleted; without one nothing is.
  appointment->reminderSet = false;
  service.ClearCalls();
  appointment->RaiseOpen();
  appointment->RaiseWrite();
  EXPECT_EQ(service.Methods(), (std::vector<std::string>{"GetReminderIds", "DeleteReminderByEventId"}));
  EXPECT_EQ(ElementText(OnlyBody("DeleteReminderByEventId"), "eventId"), "42");
  service.SetReminderId(-1);
  service.ClearCalls();
  appointment->RaiseOpen();
  appointment->RaiseWrite();
  EXPECT_EQ(service.Methods(), (std::vector<std::string>{"GetReminderIds"}));
  EXPECT_TRUE(windowing.boxes.empty());
}

TEST_F(Synchronisation, TheCreatedReminderCarriesTheAppointment) {
  auto appointment = Track("Review");
  appointment->start = {2024, 12, 31, 9, 5, 0};
  appointment->minutesBefore = 30;
  appointment->location = "Room 4";
  appointment->body = "Bring slides";
  appointment->RaiseWrite();
  const std::string body = OnlyBody("CreateReminder");
  EXPECT_EQ(ElementText(body, "EventDateTimeString"), "12/31/2024 9:05:00 AM");
  EXPECT_EQ(ElementText(body, "Subject"), "Review");
  EXPECT_EQ(ElementText(body, "Description"), "Location:Room 4\r\nDetail:Bring slides");
  EXPECT_EQ(ElementText(body, "RemindDateTime"), "12/31/2024 8:35:00 AM");
  const std::string user = ElementText(body, "User");
  EXPECT_EQ(ElementText(user, "UserId"), "demo");
  EXPECT_EQ(ElementText(user, "Password"), kDemoDigest);
  const std::string license = ElementText(body, "license");
  EXPECT_EQ(ElementText(license, "ClientName"), "Tovern");
  EXPECT_EQ(ElementText(license, "ClientProgramName"), "Outlook");
}

TEST_F(Synchronisation, DescriptionJoinsLocationAndDetail) {
  struct Row {
    const char* location;
    const char* body;
    const char* expected;
  };
  const Row rows[] = {
      {"Room 4", "Bring slides", "Location:Room 4\r\nDetail:Bring slides"},
      {"Room 4", "", "Location:Room 4"},
      {"", "Bring slides", "Detail:Bring slides"},
      {"", "", ""},
      {"Fish & Chips", "a < b", "Location:Fish &amp; Chips\r\nDetail:a &lt; b"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    service.ClearCalls();
    auto appointment = Track();
    appointment->location = row.location;
    appointment->body = row.body;
    appointment->RaiseWrite();
    EXPECT_EQ(ElementText(OnlyBody("CreateReminder"), "Description"), row.expected);
  }
}

TEST_F(Synchronisation, DatesAreSentAsGeneralDateText) {
  struct Row {
    falcrest::LocalDateTime start;
    int32_t minutes;
    const char* event;
    const char* remind;
  };
  const Row rows[] = {
      {{2024, 3, 5, 0, 0, 0}, 15, "3/5/2024", "3/4/2024 11:45:00 PM"},  // all-day: the date alone
      {{2024, 3, 5, 0, 0, 0}, 1440, "3/5/2024", "3/4/2024"},
      {{2024, 3, 5, 14, 30, 0}, 0, "3/5/2024 2:30:00 PM", "3/5/2024 2:30:00 PM"},
      {{2024, 3, 1, 12, 0, 0}, 1440, "3/1/2024 12:00:00 PM", "2/29/2024 12:00:00 PM"},
      {{2025, 1, 1, 0, 10, 0}, 20, "1/1/2025 12:10:00 AM", "12/31/2024 11:50:00 PM"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.event);
    service.ClearCalls();
    auto appointment = Track();
    appointment->start = row.start;
    appointment->minutesBefore = row.minutes;
    appointment->RaiseOpen();
    EXPECT_EQ(ElementText(OnlyBody("GetReminderIds"), "EventDateTimeString"), row.event);
    appointment->RaiseWrite();
    const std::string body = OnlyBody("CreateReminder");
    EXPECT_EQ(ElementText(body, "EventDateTimeString"), row.event);
    EXPECT_EQ(ElementText(body, "RemindDateTime"), row.remind);
  }
}

TEST_F(Synchronisation, DeletedItemsRemoveTheirRemoteReminder) {
  auto deleted = outlook.app->session->deleted->items;
  deleted->RaiseItemAdd(std::make_shared<FakeItem>("MailItem"));
  deleted->RaiseItemAdd(std::make_shared<FakeItem>("ContactItem"));
  EXPECT_TRUE(service.Calls().empty());

  auto withoutReminder = std::make_shared<FakeAppointment>(log, "Lunch");
  deleted->RaiseItemAdd(withoutReminder);
  EXPECT_EQ(service.Methods(), (std::vector<std::string>{"GetReminderIds"}));
  EXPECT_EQ(ElementText(OnlyBody("GetReminderIds"), "Subject"), "Lunch");

  service.SetReminderId(7);
  service.ClearCalls();
  deleted->RaiseItemAdd(std::make_shared<FakeAppointment>(log, "Lunch"));
  EXPECT_EQ(service.Methods(), (std::vector<std::string>{"GetReminderIds", "DeleteReminderByEventId"}));
  EXPECT_EQ(ElementText(OnlyBody("DeleteReminderByEventId"), "eventId"), "7");

  // The calendar's own items raise nothing the add-in acts on.
  service.ClearCalls();
  outlook.app->session->calendar->items->RaiseItemAdd(std::make_shared<FakeAppointment>(log, "Lunch"));
  EXPECT_TRUE(service.Calls().empty());
  EXPECT_TRUE(windowing.boxes.empty());
}

TEST_F(Synchronisation, MissingCredentialsMakeNoCallAndShowNothing) {
  const char* rows[][2] = {{"", "demo"}, {"demo", ""}, {"", ""}};
  service.SetReminderId(42);
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row[0]) + "/" + row[1]);
    StoreSetting(falcrest::kUserIdValue, row[0]);
    StorePassword(row[1]);
    auto appointment = Track();
    appointment->RaiseOpen();
    appointment->RaiseWrite();
    appointment->reminderSet = false;
    appointment->RaiseWrite();
    outlook.app->session->deleted->items->RaiseItemAdd(appointment);
    EXPECT_TRUE(service.Calls().empty());
    EXPECT_TRUE(view.shown.empty());
    EXPECT_TRUE(windowing.boxes.empty());
  }
}

TEST_F(Synchronisation, RefusedCreatesAndModifiesAreReported) {
  struct Row {
    const char* name;
    int id;  // found on opening: > 0 modifies
    std::function<void(ScriptedService&)> script;
    const char* text;
  };
  const std::vector<Row> rows = {
      {"create fault", -1, [](ScriptedService& s) { s.SetMode("CreateReminder", ScriptedService::Mode::kFault); },
       "Unkown Create Reminder Error"},
      {"create empty", -1, [](ScriptedService& s) { s.SetMode("CreateReminder", ScriptedService::Mode::kEmpty); },
       "Unkown Create Reminder Error"},
      {"create error text", -1, [](ScriptedService& s) { s.SetCreateError("The member is locked"); },
       "Create Reminder Error: The member is locked"},
      {"modify error text", 42, [](ScriptedService& s) { s.SetModifyText("No such event"); },
       "Create Reminder Error: No such event"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    service.SetMode("CreateReminder", ScriptedService::Mode::kNormal);
    service.SetCreateError("");
    service.SetModifyText("");
    service.SetReminderId(row.id);
    row.script(service);
    windowing.boxes.clear();
    auto appointment = Track();
    appointment->RaiseOpen();
    EXPECT_FALSE(appointment->RaiseWrite());
    ASSERT_EQ(windowing.boxes.size(), 1u);
    EXPECT_EQ(windowing.boxes[0].text, row.text);
    EXPECT_EQ(windowing.boxes[0].caption, "Reminder Add-In Error");
    EXPECT_EQ(windowing.boxes[0].icon, ui::Icon::kCritical);
  }
  // A modify answered with a fault has no text: it counts as done.
  service.SetModifyText("");
  service.SetMode("ModifyReminderByEventId", ScriptedService::Mode::kFault);
  windowing.boxes.clear();
  auto appointment = Track();
  appointment->RaiseOpen();
  appointment->RaiseWrite();
  EXPECT_TRUE(windowing.boxes.empty());
}

TEST_F(Synchronisation, AnUnreachableServiceIsNamedInTheError) {
  std::string url;
  {
    ScriptedService gone;
    url = gone.Url();
  }
  StoreSetting(falcrest::kWebServiceUrlValue, url);
  auto appointment = Track();
  appointment->RaiseOpen();
  appointment->RaiseWrite();
  ASSERT_EQ(windowing.boxes.size(), 2u);
  for (const MessageBoxShown& box : windowing.boxes) {
    EXPECT_NE(box.text.find("Cannot reach"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find(url), std::string::npos) << box.text;
    EXPECT_EQ(box.caption, "Reminder Add-In Error");
  }
  EXPECT_TRUE(view.shown.empty()) << "a failed preparation shows no dialog";
}

TEST_F(Synchronisation, AFailedLookUpOrDeleteLeavesNoStaleId) {
  struct Row {
    const char* name;
    std::function<void()> fail;  // runs after the tracked appointment found 42
  };
  const std::vector<Row> rows = {
      {"open of another appointment fails",
       [this] {
         service.SetMode("GetReminderIds", ScriptedService::Mode::kBroken);
         Track("Other")->RaiseOpen();
       }},
      {"look-up of a deleted item fails",
       [this] {
         service.SetMode("GetReminderIds", ScriptedService::Mode::kBroken);
         outlook.app->session->deleted->items->RaiseItemAdd(std::make_shared<FakeAppointment>(log, "Other"));
       }},
      {"delete of a deleted item fails",
       [this] {
         service.SetMode("DeleteReminderByEventId", ScriptedService::Mode::kBroken);
         outlook.app->session->deleted->items->RaiseItemAdd(std::make_shared<FakeAppointment>(log, "Other"));
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    service.SetMode("GetReminderIds", ScriptedService::Mode::kNormal);
    service.SetMode("DeleteReminderByEventId", ScriptedService::Mode::kNormal);
    service.SetReminderId(42);
    windowing.boxes.clear();
    auto first = Track("First");
    first->RaiseOpen();
    row.fail();
    EXPECT_EQ(windowing.boxes.size(), 1u);
    // The failure's appointment is now tracked or not; a save of it must not touch 42.
    service.SetMode("GetReminderIds", ScriptedService::Mode::kNormal);
    service.ClearCalls();
    Track("Other")->RaiseWrite();
    EXPECT_TRUE(service.CallsOf("ModifyReminderByEventId").empty());
    EXPECT_EQ(service.CallsOf("CreateReminder").size(), 1u);
  }
}

TEST_F(Synchronisation, SettingsAreReadAfreshForEveryCall) {
  ScriptedService moved;
  moved.SetDevice("HomeEmail", "demo@example.com");
  auto appointment = Track();
  appointment->RaiseWrite();
  EXPECT_EQ(service.CallsOf("CreateReminder").size(), 1u);
  StoreSetting(falcrest::kWebServiceUrlValue, moved.Url());
  StorePassword("secret");
  appointment->RaiseWrite();
  EXPECT_EQ(service.CallsOf("CreateReminder").size(), 1u);
  const auto creates = moved.CallsOf("CreateReminder");
  ASSERT_EQ(creates.size(), 1u);
  EXPECT_EQ(ElementText(ElementText(creates[0].body, "license"), "Password"), "5EBE2294ECD0E0F08EAB7690D2A6EE69");
}

TEST_F(Synchronisation, ADeleteUsesTheCredentialsOfTheLookUpThatFoundTheId) {
  ScriptedService moved;
  service.SetReminderId(42);
  auto appointment = Track();
  appointment->RaiseOpen();
  StoreSetting(falcrest::kWebServiceUrlValue, moved.Url());
  StorePassword("secret");
  appointment->reminderSet = false;
  service.ClearCalls();
  appointment->RaiseWrite();
  EXPECT_TRUE(moved.Calls().empty());
  EXPECT_EQ(ElementText(ElementText(OnlyBody("DeleteReminderByEventId"), "license"), "Password"), kDemoDigest);
}

TEST_F(Synchronisation, AStoredPasswordThatIsNotBase64IsReported) {
  StoreSetting(falcrest::kPasswordValue, "abcde");
  auto appointment = Track();
  appointment->RaiseOpen();
  ASSERT_EQ(windowing.boxes.size(), 1u);
  EXPECT_EQ(windowing.boxes[0].text, "Input string is not valid Base64.");
  EXPECT_TRUE(service.Calls().empty());
}

}  // namespace
}  // namespace addin_test
