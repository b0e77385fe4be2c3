#pragma once
// A small stand-in for the client's object model: every call the add-in makes on it is
// written to one shared log, in order, so a test can check what was called and what was not;
// the test raises the client's events through the fakes.
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "addin/objectmodel/Outlook.h"

namespace addin_test {

using Calls = std::vector<std::string>;

class CallLog {
 public:
  void Called(const std::string& call) { calls_.push_back(call); }
  // The calls logged since the last Take, and forgets them.
  Calls Take() { return std::exchange(calls_, {}); }

 private:
  Calls calls_;
};

// Any non-appointment item.
class FakeItem : public outlook::Item {
 public:
  explicit FakeItem(std::string typeName) : type_name_(std::move(typeName)) {}
  std::string TypeName() const override { return type_name_; }

 private:
  std::string type_name_;
};

class FakeAppointment : public outlook::AppointmentItem {
  std::shared_ptr<CallLog> log_;

 public:
  FakeAppointment(std::shared_ptr<CallLog> log, std::string subject) : log_(std::move(log)), subject(std::move(subject)) {}

  falcrest::LocalDateTime start{2024, 3, 5, 14, 30, 0};
  std::string subject;
  std::string location;
  std::string body;
  bool reminderSet = true;
  int32_t minutesBefore = 15;

  std::string TypeName() const override { return "AppointmentItem"; }
  falcrest::LocalDateTime Start() const override { return start; }
  std::string Subject() const override { return subject; }
  std::string Location() const override { return location; }
  std::string Body() const override { return body; }
  bool ReminderSet() const override { return reminderSet; }
  int32_t ReminderMinutesBeforeStart() const override { return minutesBefore; }

  void Advise(outlook::AppointmentEvents* sink) override;
  void Unadvise(outlook::AppointmentEvents* sink) override;
  size_t SinkCount() const { return sinks_.size(); }

  // Raise the events to every advised sink; return the Cancel flag as the sinks left it.
  bool RaiseOpen();
  bool RaiseWrite();

 private:
  std::vector<outlook::AppointmentEvents*> sinks_;
};

class FakeItems : public outlook::Items {
 public:
  FakeItems(std::shared_ptr<CallLog> log, std::string folder) : log_(std::move(log)), folder_(std::move(folder)) {}
  void Advise(outlook::ItemsEvents* sink) override;
  void Unadvise(outlook::ItemsEvents* sink) override;
  size_t SinkCount() const { return sinks_.size(); }
  void RaiseItemAdd(const std::shared_ptr<outlook::Item>& item);

  bool failUnadvise = false;

 private:
  std::shared_ptr<CallLog> log_;
  std::string folder_;
  std::vector<outlook::ItemsEvents*> sinks_;
};

class FakeFolder : public outlook::MAPIFolder {
  std::shared_ptr<CallLog> log_;
  std::string name_;

 public:
  FakeFolder(std::shared_ptr<CallLog> log, std::string name)
      : log_(log), name_(name), items(std::make_shared<FakeItems>(log, name)) {}
  std::shared_ptr<outlook::Items> GetItems() override;

  std::shared_ptr<FakeItems> items;  // nullptr: the folder gives no items
  bool failItems = false;

};

class FakeNameSpace : public outlook::NameSpace {
  std::shared_ptr<CallLog> log_;

 public:
  explicit FakeNameSpace(std::shared_ptr<CallLog> log)
      : log_(log),
        calendar(std::make_shared<FakeFolder>(log, "Calendar")),
        deleted(std::make_shared<FakeFolder>(log, "Deleted Items")) {}
  std::shared_ptr<outlook::MAPIFolder> GetDefaultFolder(int folderType) override;
  void Advise(outlook::NameSpaceEvents* sink) override;
  void Unadvise(outlook::NameSpaceEvents* sink) override;
  size_t SinkCount() const { return sinks_.size(); }

  std::shared_ptr<FakeFolder> calendar;  // nullptr: the session has no such folder
  std::shared_ptr<FakeFolder> deleted;

 private:
  std::vector<outlook::NameSpaceEvents*> sinks_;
};

class FakeInspector : public outlook::Inspector {
 public:
  FakeInspector(std::shared_ptr<outlook::Item> item, bool readable) : item_(std::move(item)), readable_(readable) {}
  std::shared_ptr<outlook::Item> CurrentItem() override {
    if (!readable_) throw std::runtime_error("The inspector's item cannot be read");
    return item_;
  }

 private:
  std::shared_ptr<outlook::Item> item_;
  bool readable_;
};

class FakeInspectors : public outlook::Inspectors {
 public:
  explicit FakeInspectors(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}
  void Advise(outlook::InspectorsEvents* sink) override;
  void Unadvise(outlook::InspectorsEvents* sink) override;
  size_t SinkCount() const { return sinks_.size(); }
  // A window opens showing the item (nullptr: an empty item), or one whose item cannot be read.
  void RaiseNewInspector(const std::shared_ptr<outlook::Item>& item, bool readable = true);

 private:
  std::shared_ptr<CallLog> log_;
  std::vector<outlook::InspectorsEvents*> sinks_;
};

class FakePages : public outlook::PropertyPages {
 public:
  void Add(const std::string& progId, const std::string& title) override {
    if (fail) throw std::runtime_error("The control " + progId + " cannot be created");
    added.push_back(progId + " | " + title);
  }
  Calls added;
  bool fail = false;
};

class FakeApplication : public outlook::Application {
  std::shared_ptr<CallLog> log_;

 public:
  explicit FakeApplication(std::shared_ptr<CallLog> log)
      : log_(log), session(std::make_shared<FakeNameSpace>(log)), inspectors(std::make_shared<FakeInspectors>(log)) {}
  std::shared_ptr<outlook::NameSpace> Session() override;
  std::shared_ptr<outlook::Inspectors> GetInspectors() override;
  void Advise(outlook::ApplicationEvents* sink) override;
  void Unadvise(outlook::ApplicationEvents* sink) override;
  size_t SinkCount() const { return sinks_.size(); }
  void RaiseOptionsPagesAdd(FakePages& pages);

  std::shared_ptr<FakeNameSpace> session;  // nullptr: no session
  std::shared_ptr<FakeInspectors> inspectors;  // nullptr: no Inspectors collection

 private:
  std::vector<outlook::ApplicationEvents*> sinks_;
};

}  // namespace addin_test
