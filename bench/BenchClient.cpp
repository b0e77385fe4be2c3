#include "bench/BenchClient.h"

#include <algorithm>

#include "addin/dialog/AppointmentDevices.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

template <class Sink>
void Remove(std::vector<Sink*>& sinks, Sink* sink) {
  sinks.erase(std::remove(sinks.begin(), sinks.end(), sink), sinks.end());
}

class Items : public outlook::Items {
 public:
  void Advise(outlook::ItemsEvents* sink) override { sinks_.push_back(sink); }
  void Unadvise(outlook::ItemsEvents* sink) override { Remove(sinks_, sink); }

 private:
  std::vector<outlook::ItemsEvents*> sinks_;
};

class Folder : public outlook::MAPIFolder {
 public:
  std::shared_ptr<outlook::Items> GetItems() override { return items_; }

 private:
  std::shared_ptr<Items> items_ = std::make_shared<Items>();
};

class Session : public outlook::NameSpace {
 public:
  std::shared_ptr<outlook::MAPIFolder> GetDefaultFolder(int folderType) override {
    if (folderType == outlook::kFolderCalendar) return calendar_;
    if (folderType == outlook::kFolderDeletedItems) return deleted_;
    return nullptr;
  }
  void Advise(outlook::NameSpaceEvents*) override {}  // the session raises nothing here
  void Unadvise(outlook::NameSpaceEvents*) override {}

 private:
  std::shared_ptr<Folder> calendar_ = std::make_shared<Folder>();
  std::shared_ptr<Folder> deleted_ = std::make_shared<Folder>();
};

class Inspector : public outlook::Inspector {
 public:
  explicit Inspector(std::shared_ptr<outlook::Item> item) : item_(std::move(item)) {}
  std::shared_ptr<outlook::Item> CurrentItem() override { return item_; }

 private:
  std::shared_ptr<outlook::Item> item_;
};

class Inspectors : public outlook::Inspectors {
 public:
  void Advise(outlook::InspectorsEvents* sink) override { sinks_.push_back(sink); }
  void Unadvise(outlook::InspectorsEvents* sink) override { Remove(sinks_, sink); }
  void RaiseNewInspector(const std::shared_ptr<outlook::Inspector>& inspector) {
    for (auto* sink : std::vector<outlook::InspectorsEvents*>(sinks_)) sink->NewInspector(inspector);
  }

 private:
  std::vector<outlook::InspectorsEvents*> sinks_;
};

}  // namespace

void Appointment::Unadvise(outlook::AppointmentEvents* sink) { Remove(sinks_, sink); }

void Appointment::RaiseOpen() {
  bool cancel = false;
  for (auto* sink : std::vector<outlook::AppointmentEvents*>(sinks_)) sink->Open(cancel);
}

void Appointment::RaiseWrite() {
  bool cancel = false;
  for (auto* sink : std::vector<outlook::AppointmentEvents*>(sinks_)) sink->Write(cancel);
}

class Client::App : public outlook::Application {
 public:
  std::shared_ptr<outlook::NameSpace> Session() override { return session_; }
  std::shared_ptr<outlook::Inspectors> GetInspectors() override { return inspectors_; }
  void Advise(outlook::ApplicationEvents*) override {}
  void Unadvise(outlook::ApplicationEvents*) override {}
  Inspectors& AllInspectors() { return *inspectors_; }

 private:
  std::shared_ptr<class Session> session_ = std::make_shared<class Session>();
  std::shared_ptr<Inspectors> inspectors_ = std::make_shared<Inspectors>();
};

Client::Client() : app_(std::make_shared<App>()), application_(app_) {}

void Client::OpenInspector(const std::shared_ptr<Appointment>& appointment) {
  app_->AllInspectors().RaiseNewInspector(std::make_shared<Inspector>(appointment));
}

void TickingDialog::ShowModal(reminder::AppointmentDevices& dialog) {
  const Clock::time_point start = Clock::now();
  for (const std::string& type : types_) dialog.Tick(type, true);
  dialog.btnOK_Click();
  last_selection_ = dialog.selectedDevices;
  ++shown_;
  inside_ += Clock::now() - start;
}

}  // namespace bench
