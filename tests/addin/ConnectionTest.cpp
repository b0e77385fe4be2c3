// Connection, disconnection, the tracked appointment and the options pages.
#include <algorithm>

#include "AddinFixture.h"

namespace addin_test {
namespace {

using Connection = AddinTest;

TEST_F(Connection, TakesTheClientObjectsInOrder) {
  designer = reminder::CreateReminderDesigner();
  designer->OnConnection(outlook.app, 0);
  EXPECT_EQ(log->Take(), (Calls{"Application.Advise", "Application.Session", "Session.Advise",
                                "Application.Inspectors", "Inspectors.Advise", "Session.GetDefaultFolder(9)", "Calendar.GetItems",
                                "Calendar.Items.Advise", "Session.GetDefaultFolder(3)", "Deleted Items.GetItems",
                                "Deleted Items.Items.Advise"}));
  EXPECT_TRUE(windowing.boxes.empty());
}

// An object the client gives back empty is an error only at the step that uses it; one
// held but never used lets the set-up go on.
TEST_F(Connection, AnEmptyObjectStopsTheSetUpOnlyWhereItIsUsed) {
  const Calls all = {"Application.Advise",    "Application.Session",         "Session.Advise",
                     "Application.Inspectors", "Inspectors.Advise",     "Session.GetDefaultFolder(9)", "Calendar.GetItems",
                     "Calendar.Items.Advise", "Session.GetDefaultFolder(3)", "Deleted Items.GetItems",
                     "Deleted Items.Items.Advise"};
  const auto upTo = [&](size_t n) { return Calls(all.begin(), all.begin() + n); };
  const auto allBut = [&](const std::string& left) {
    Calls calls = all;
    calls.erase(std::find(calls.begin(), calls.end(), left));
    return calls;
  };
  struct Row {
    const char* name;
    std::function<void(std::shared_ptr<FakeApplication>&)> breakIt;
    Calls calls;
    const char* box;  // the error box text, or nullptr for none
  };
  const std::vector<Row> rows = {
      {"no application", [](auto& a) { a = nullptr; }, {}, "Outlook did not provide the application object"},
      {"no session", [](auto& a) { a->session = nullptr; },
       {"Application.Advise", "Application.Session", "Application.Inspectors", "Inspectors.Advise"},
       "Outlook did not provide the session (NameSpace)"},
      {"no inspectors", [](auto& a) { a->inspectors = nullptr; }, allBut("Inspectors.Advise"), nullptr},
      {"no calendar", [](auto& a) { a->session->calendar = nullptr; }, upTo(6),
       "Outlook did not provide the default Calendar folder"},
      {"no deleted items", [](auto& a) { a->session->deleted->items = nullptr; }, allBut("Deleted Items.Items.Advise"),
       nullptr},
      {"deleted items unreadable", [](auto& a) { a->session->deleted->failItems = true; }, upTo(10),
       "The items of Deleted Items cannot be read"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto localLog = std::make_shared<CallLog>();
    auto app = std::make_shared<FakeApplication>(localLog);
    row.breakIt(app);
    windowing.boxes.clear();
    auto addin = reminder::CreateReminderDesigner();
    addin->OnConnection(app, 0);
    EXPECT_EQ(localLog->Take(), row.calls);
    if (row.box) {
      ASSERT_EQ(windowing.boxes.size(), 1u);
      EXPECT_EQ(windowing.boxes[0].text, row.box);
      EXPECT_EQ(windowing.boxes[0].caption, "Reminder Add-In Error");
      EXPECT_EQ(windowing.boxes[0].icon, ui::Icon::kCritical);
    } else {
      EXPECT_TRUE(windowing.boxes.empty());
    }
    addin->OnDisconnection(0);
  }
}

TEST_F(Connection, AHandlerNeedingWhatAFailedConnectionLeftEmptyReportsIt) {
  outlook.app->session->deleted->failItems = true;  // stops before the service context
  designer = reminder::CreateReminderDesigner();
  designer->OnConnection(outlook.app, 0);
  windowing.boxes.clear();
  auto appointment = Track();
  EXPECT_FALSE(appointment->RaiseOpen());
  EXPECT_FALSE(appointment->RaiseWrite());
  ASSERT_EQ(windowing.boxes.size(), 2u);
  EXPECT_NE(windowing.boxes[0].text.find("service context"), std::string::npos) << windowing.boxes[0].text;
  EXPECT_TRUE(service.Calls().empty());
}

TEST_F(Connection, DisconnectionLetsGoInItsOrderIgnoringErrors) {
  Connect();
  Track("Dentist");
  outlook.app->session->deleted->items->failUnadvise = true;
  designer->OnDisconnection(0);
  EXPECT_EQ(log->Take(), (Calls{"Deleted Items.Items.Unadvise", "Calendar.Items.Unadvise", "Dentist.Unadvise",
                                "Inspectors.Unadvise", "Session.Unadvise", "Application.Unadvise"}));
  EXPECT_TRUE(windowing.boxes.empty());
  EXPECT_EQ(outlook.app->SinkCount() + outlook.app->session->SinkCount() + outlook.app->inspectors->SinkCount() +
                outlook.app->session->calendar->items->SinkCount(),
            0u);
  // The service context stays: a second disconnection has nothing left to let go.
  designer->OnDisconnection(0);
  EXPECT_TRUE(log->Take().empty());
}

TEST_F(Connection, OnlyTheAppointmentOpenedLastIsTracked) {
  Connect();
  auto first = Track("First");
  outlook.app->inspectors->RaiseNewInspector(std::make_shared<FakeItem>("MailItem"));
  outlook.app->inspectors->RaiseNewInspector(std::make_shared<FakeItem>("ContactItem"));
  EXPECT_TRUE(log->Take().empty()) << "other items leave the tracked appointment alone";
  EXPECT_EQ(first->SinkCount(), 1u);

  auto second = std::make_shared<FakeAppointment>(log, "Second");
  outlook.app->inspectors->RaiseNewInspector(second);
  EXPECT_EQ(log->Take(), (Calls{"Second.Advise", "First.Unadvise"}));

  // The same appointment shown again keeps its one sink.
  outlook.app->inspectors->RaiseNewInspector(second);
  EXPECT_TRUE(log->Take().empty());

  first->RaiseWrite();
  EXPECT_TRUE(service.Calls().empty()) << "a save of the appointment opened earlier is not synchronised";
  view.answers.push_back({{}, {}, DialogAnswer::kCancel});
  second->RaiseWrite();
  EXPECT_EQ(view.shown.size(), 1u);
}

TEST_F(Connection, AnInspectorWithoutAnItemIsIgnoredAndAnUnreadableOneReported) {
  Connect();
  auto tracked = Track("Dentist");
  outlook.app->inspectors->RaiseNewInspector(nullptr);
  EXPECT_TRUE(windowing.boxes.empty());
  EXPECT_TRUE(log->Take().empty());

  outlook.app->inspectors->RaiseNewInspector(std::make_shared<FakeAppointment>(log, "Hidden"), false);
  ASSERT_EQ(windowing.boxes.size(), 1u);
  EXPECT_EQ(windowing.boxes[0].text, "The inspector's item cannot be read");
  EXPECT_EQ(windowing.boxes[0].caption, "Reminder Add-In Error");
  EXPECT_EQ(tracked->SinkCount(), 1u);
  EXPECT_TRUE(log->Take().empty());
}

TEST_F(Connection, EveryOptionsDialogGetsTheSettingsPage) {
  Connect();
  FakePages pages;
  outlook.app->RaiseOptionsPagesAdd(pages);
  outlook.app->RaiseOptionsPagesAdd(pages);
  EXPECT_EQ(pages.added, (Calls{"Orvane.ReminderSetting | Tarvanel Reminder", "Orvane.ReminderSetting | Tarvanel Reminder"}));

  // A page that cannot be created is the client's failure to report, not ours.
  FakePages failing;
  failing.fail = true;
  EXPECT_THROW(outlook.app->RaiseOptionsPagesAdd(failing), std::runtime_error);
  EXPECT_TRUE(windowing.boxes.empty());
}

}  // namespace
}  // namespace addin_test
