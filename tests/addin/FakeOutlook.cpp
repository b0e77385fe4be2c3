#include "FakeOutlook.h"

#include <algorithm>

namespace addin_test {

namespace {

template <class Sink>
void Remove(std::vector<Sink*>& sinks, Sink* sink) {
  auto found = std::find(sinks.begin(), sinks.end(), sink);
  if (found == sinks.end()) throw std::runtime_error("Unadvise of a sink that is not advised");
  sinks.erase(found);
}

}  // namespace

void FakeAppointment::Advise(outlook::AppointmentEvents* sink) {
  log_->Called(subject + ".Advise");
  sinks_.push_back(sink);
}

void FakeAppointment::Unadvise(outlook::AppointmentEvents* sink) {
  log_->Called(subject + ".Unadvise");
  Remove(sinks_, sink);
}

bool FakeAppointment::RaiseOpen() {
  bool cancel = false;
  for (auto* sink : std::vector<outlook::AppointmentEvents*>(sinks_)) sink->Open(cancel);
  return cancel;
}

bool FakeAppointment::RaiseWrite() {
  bool cancel = false;
  for (auto* sink : std::vector<outlook::AppointmentEvents*>(sinks_)) sink->Write(cancel);
  return cancel;
}

void FakeItems::Advise(outlook::ItemsEvents* sink) {
  log_->Called(folder_ + ".Items.Advise");
  sinks_.push_back(sink);
}

void FakeItems::Unadvise(outlook::ItemsEvents* sink) {
  log_->Called(folder_ + ".Items.Unadvise");
  Remove(sinks_, sink);
  if (failUnadvise) throw std::runtime_error("The folder is gone");
}

void FakeItems::RaiseItemAdd(const std::shared_ptr<outlook::Item>& item) {
  for (auto* sink : std::vector<outlook::ItemsEvents*>(sinks_)) sink->ItemAdd(item);
}

std::shared_ptr<outlook::Items> FakeFolder::GetItems() {
  log_->Called(name_ + ".GetItems");
  if (failItems) throw std::runtime_error("The items of " + name_ + " cannot be read");
  return items;
}

std::shared_ptr<outlook::MAPIFolder> FakeNameSpace::GetDefaultFolder(int folderType) {
  log_->Called("Session.GetDefaultFolder(" + std::to_string(folderType) + ")");
  if (folderType == outlook::kFolderCalendar) return calendar;
  if (folderType == outlook::kFolderDeletedItems) return deleted;
  throw std::runtime_error("No default folder of type " + std::to_string(folderType));
}

void FakeNameSpace::Advise(outlook::NameSpaceEvents* sink) {
  log_->Called("Session.Advise");
  sinks_.push_back(sink);
}

void FakeNameSpace::Unadvise(outlook::NameSpaceEvents* sink) {
  log_->Called("Session.Unadvise");
  Remove(sinks_, sink);
}

void FakeInspectors::Advise(outlook::InspectorsEvents* sink) {
  log_->Called("Inspectors.Advise");
  sinks_.push_back(sink);
}

void FakeInspectors::Unadvise(outlook::InspectorsEvents* sink) {
  log_->Called("Inspectors.Unadvise");
  Remove(sinks_, sink);
}

void FakeInspectors::RaiseNewInspector(const std::shared_ptr<outlook::Item>& item, bool readable) {
  auto inspector = std::make_shared<FakeInspector>(item, readable);
  for (auto* sink : std::vector<outlook::InspectorsEvents*>(sinks_)) sink->NewInspector(inspector);
}

std::shared_ptr<outlook::NameSpace> FakeApplication::Session() {
  log_->Called("Application.Session");
  return session;
}

std::shared_ptr<outlook::Inspectors> FakeApplication::GetInspectors() {
  log_->Called("Application.Inspectors");
  return inspectors;
}

void FakeApplication::Advise(outlook::ApplicationEvents* sink) {
  log_->Called("Application.Advise");
  sinks_.push_back(sink);
}

void FakeApplication::Unadvise(outlook::ApplicationEvents* sink) {
  log_->Called("Application.Unadvise");
  Remove(sinks_, sink);
}

void FakeApplication::RaiseOptionsPagesAdd(FakePages& pages) {
  for (auto* sink : std::vector<outlook::ApplicationEvents*>(sinks_)) sink->OptionsPagesAdd(pages);
}

}  // namespace addin_test
