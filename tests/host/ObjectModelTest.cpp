// The order of the client's events as the add-in sees them: inspectors, item open and
// write, items arriving in folders. Every receiver records its calls; each test states the
// full sequence, so a call that must not happen shows up as a difference.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostTestSupport.h"
#include "host/client/Client.h"
#include "library/support/Error.h"

namespace host {
namespace {

using Calls = std::vector<std::string>;

// Receives every event of the session, like an add-in that tracks the appointment opened last.
class Recorder : public outlook::InspectorsEvents, public outlook::AppointmentEvents {
 public:
  Recorder(Client& client, Calls& calls) : client_(client), calls_(calls) {
    client.App().Windows().Advise(this);
    calendar_.Attach(client, outlook::kFolderCalendar, "Calendar", calls);
    deleted_.Attach(client, outlook::kFolderDeletedItems, "Deleted", calls);
  }
  ~Recorder() override {
    client_.App().Windows().Unadvise(this);
    if (tracked_) tracked_->Unadvise(this);
  }

  void NewInspector(const std::shared_ptr<outlook::Inspector>& inspector) override {
    auto item = inspector->CurrentItem();
    calls_.push_back("NewInspector " + item->TypeName());
    if (auto appointment = std::dynamic_pointer_cast<Appointment>(item)) {
      if (tracked_) tracked_->Unadvise(this);
      tracked_ = appointment;
      tracked_->Advise(this);
    }
  }
  void Open(bool& Cancel) override {
    calls_.push_back("Open " + tracked_->Subject());
    Cancel = cancelOpen;
  }
  void Write(bool& Cancel) override {
    const bool inCalendar = client_.App().Folders().Default(outlook::kFolderCalendar).Contents().Contains(tracked_.get());
    // The live fields are on disk only once the save has been committed.
    const std::string file = test::ReadFile(client_.CalendarPath());
    const bool onDisk = file.find("SUMMARY:" + tracked_->Subject()) != std::string::npos &&
                        (tracked_->Location().empty() || file.find("LOCATION:" + tracked_->Location()) != std::string::npos);
    calls_.push_back("Write " + tracked_->Subject() + (inCalendar ? " (in Calendar)" : "") + (onDisk ? " (on disk)" : ""));
    Cancel = cancelWrite;
  }

  bool cancelOpen = false;
  bool cancelWrite = false;

 private:
  struct FolderSink : outlook::ItemsEvents {
    void Attach(Client& c, int type, std::string n, Calls& log) {
      items = c.App().Folders().Default(type).GetItems();
      items->Advise(this);
      name = std::move(n);
      calls = &log;
    }
    ~FolderSink() override {
      if (items) items->Unadvise(this);
    }
    void ItemAdd(const std::shared_ptr<outlook::Item>& item) override {
      calls->push_back("ItemAdd " + name + " " + item->TypeName() + " " + ItemTitle(*item));
    }
    std::shared_ptr<outlook::Items> items;
    std::string name;
    Calls* calls = nullptr;
  };

  Client& client_;
  Calls& calls_;
  std::shared_ptr<Appointment> tracked_;
  FolderSink calendar_;
  FolderSink deleted_;
};

class ObjectModelTest : public ::testing::Test {
 protected:
  AppointmentFields Fields(const std::string& subject) {
    AppointmentFields f;
    f.subject = subject;
    f.start = {2026, 12, 10, 9, 0, 0};
    return f;
  }
  test::TempFolder folder_;
  Client client_{folder_.Path("calendar.ics")};
  Calls calls_;
  Recorder recorder_{client_, calls_};
};

TEST_F(ObjectModelTest, NewAppointmentOpensThenSavesBeforeCommitting) {
  client_.NewAppointment(Fields("Planning"));
  EXPECT_TRUE(client_.Save());
  client_.Close();
  EXPECT_EQ(calls_, (Calls{"NewInspector AppointmentItem", "Open Planning", "Write Planning",
                           "ItemAdd Calendar AppointmentItem Planning"}));
  EXPECT_NE(test::ReadFile(folder_.Path("calendar.ics")).find("SUMMARY:Planning"), std::string::npos);
}

TEST_F(ObjectModelTest, ReopeningASavedAppointmentRaisesWriteBeforeTheChangeIsWritten) {
  client_.NewAppointment(Fields("Planning"));
  client_.Save();
  client_.Close();
  calls_.clear();
  client_.Open(client_.FindAppointment("Planning"));
  client_.Edit("location", "Room 4");
  client_.Save();
  EXPECT_EQ(calls_, (Calls{"NewInspector AppointmentItem", "Open Planning", "Write Planning (in Calendar)"}));
}

TEST_F(ObjectModelTest, CancelledWriteCommitsNothing) {
  recorder_.cancelWrite = true;
  client_.NewAppointment(Fields("Planning"));
  EXPECT_FALSE(client_.Save());
  EXPECT_EQ(calls_, (Calls{"NewInspector AppointmentItem", "Open Planning", "Write Planning"}));
  EXPECT_TRUE(client_.CalendarItems().empty());
  EXPECT_EQ(test::ReadFile(folder_.Path("calendar.ics")), "");
}

TEST_F(ObjectModelTest, CancelledOpenLeavesNoInspector) {
  recorder_.cancelOpen = true;
  client_.NewAppointment(Fields("Planning"));
  EXPECT_EQ(client_.App().Windows().Active(), nullptr);
}

TEST_F(ObjectModelTest, AnItemAlreadyShownIsBroughtForwardWithoutEvents) {
  client_.NewAppointment(Fields("Planning"));
  client_.Save();
  auto planning = client_.FindAppointment("Planning");
  calls_.clear();
  EXPECT_TRUE(client_.Open(planning));
  EXPECT_EQ(calls_, Calls{});
}

TEST_F(ObjectModelTest, MailInAnInspectorRaisesNoOpenAndDeletingItReachesDeletedItems) {
  auto mail = client_.NewMail("Hello", "");
  client_.Open(mail);
  client_.Close();
  client_.Delete(mail);
  EXPECT_EQ(calls_, (Calls{"NewInspector MailItem", "ItemAdd Deleted MailItem Hello"}));
}

TEST_F(ObjectModelTest, DeletingMovesTheAppointmentAndMarksItInTheFile) {
  client_.NewAppointment(Fields("Planning"));
  client_.Save();
  client_.Close();
  calls_.clear();
  client_.Delete(client_.FindAppointment("Planning"));
  EXPECT_EQ(calls_, (Calls{"ItemAdd Deleted AppointmentItem Planning"}));
  EXPECT_TRUE(client_.CalendarItems().empty());
  ASSERT_EQ(client_.DeletedItems().size(), 1u);
  EXPECT_NE(test::ReadFile(folder_.Path("calendar.ics")).find("X-TARVANEL-FOLDER:DeletedItems"), std::string::npos);

  // Deleting from Deleted Items removes it for good, with no event.
  calls_.clear();
  client_.Delete(client_.DeletedItems()[0]);
  EXPECT_EQ(calls_, Calls{});
  EXPECT_EQ(test::ReadFile(folder_.Path("calendar.ics")).find("Planning"), std::string::npos);
}

TEST_F(ObjectModelTest, ClosingWithoutSavingPutsTheSavedFieldsBack) {
  client_.NewAppointment(Fields("Planning"));
  client_.Save();
  client_.Edit("subject", "Renamed");
  client_.Close();
  EXPECT_EQ(client_.CalendarItems().at(0)->Subject(), "Planning");

  client_.NewAppointment(Fields("Never saved"));
  client_.Close();
  EXPECT_EQ(client_.CalendarItems().size(), 1u);
}

TEST_F(ObjectModelTest, TheCalendarIsThereAfterARestart) {
  client_.NewAppointment(Fields("Planning"));
  client_.Edit("reminder", "off");
  client_.Save();
  client_.NewAppointment(Fields("Review"));
  client_.Save();
  client_.Delete(client_.FindAppointment("Review"));

  Client again(folder_.Path("calendar.ics"));
  ASSERT_EQ(again.CalendarItems().size(), 1u);
  EXPECT_EQ(again.CalendarItems()[0]->Subject(), "Planning");
  EXPECT_FALSE(again.CalendarItems()[0]->ReminderSet());
  ASSERT_EQ(again.DeletedItems().size(), 1u);
  EXPECT_EQ(ItemTitle(*again.DeletedItems()[0]), "Review");
}

// A receiver that unadvises another during delivery: the other must not be called.
TEST(SinkListTest, ASinkUnadvisedDuringAnEventGetsNoMoreOfIt) {
  struct Sink : outlook::ItemsEvents {
    void ItemAdd(const std::shared_ptr<outlook::Item>&) override {
      ++calls;
      if (other) items->Unadvise(other);
    }
    ItemCollection* items = nullptr;
    Sink* other = nullptr;
    int calls = 0;
  };
  ItemCollection items;
  Sink first, second;
  first.items = &items;
  first.other = &second;
  items.Advise(&first);
  items.Advise(&second);
  items.Add(std::make_shared<MailItem>("x"));
  EXPECT_EQ(first.calls, 1);
  EXPECT_EQ(second.calls, 0);
}

TEST(SessionTest, DefaultFoldersAreTheCalendarAndDeletedItems) {
  Session session;
  EXPECT_EQ(session.Default(outlook::kFolderCalendar).Name(), "Calendar");
  EXPECT_EQ(session.Default(outlook::kFolderDeletedItems).Name(), "Deleted Items");
  EXPECT_THROW(session.GetDefaultFolder(42), falcrest::Error);
}

}  // namespace
}  // namespace host
