#include "host/client/Client.h"

#include <algorithm>

#include "host/calendar/CalendarFile.h"
#include "host/client/FieldText.h"
#include "library/support/Error.h"

namespace host {
namespace {

[[noreturn]] void RaiseUser(const std::string& description) {
  throw falcrest::Error(falcrest::error_number::kComponentBase + 0x131, "reminder-host", description);
}

bool EarlierStart(const std::shared_ptr<Appointment>& a, const std::shared_ptr<Appointment>& b) {
  double sa = falcrest::ToOleDate(a->Start());
  double sb = falcrest::ToOleDate(b->Start());
  return sa != sb ? sa < sb : a->Subject() < b->Subject();
}

}  // namespace

Client::Client(std::string calendarPath) : calendarPath_(std::move(calendarPath)) {
  calendar::CalendarData data = calendar::LoadCalendarFile(calendarPath_);
  otherComponents_ = data.otherComponents;
  for (const calendar::StoredAppointment& stored : data.appointments) {
    auto appointment = std::make_shared<Appointment>(stored.fields);
    appointment->uid = stored.uid.empty() ? calendar::NewUid() : stored.uid;
    appointment->source = stored.source;
    appointment->MarkSaved();
    int folder = stored.deleted ? outlook::kFolderDeletedItems : outlook::kFolderCalendar;
    app_->Folders().Default(folder).Contents().Load(appointment);
  }
}

Client::~Client() { UnloadAddins(); }

void Client::LoadAddins(std::ostream& warnings) { addins_ = host::LoadAddins(app_, warnings); }

void Client::UnloadAddins() { host::UnloadAddins(addins_); }

std::vector<std::shared_ptr<Appointment>> Client::CalendarItems() {
  std::vector<std::shared_ptr<Appointment>> out;
  for (const auto& item : app_->Folders().Default(outlook::kFolderCalendar).Contents().All()) {
    if (auto appointment = std::dynamic_pointer_cast<Appointment>(item)) out.push_back(appointment);
  }
  std::stable_sort(out.begin(), out.end(), EarlierStart);
  return out;
}

std::vector<std::shared_ptr<outlook::Item>> Client::DeletedItems() {
  return app_->Folders().Default(outlook::kFolderDeletedItems).Contents().All();
}

std::vector<std::shared_ptr<MailItem>> Client::InboxItems() {
  std::vector<std::shared_ptr<MailItem>> out;
  for (const auto& item : app_->Folders().Default(kFolderInbox).Contents().All()) {
    if (auto mail = std::dynamic_pointer_cast<MailItem>(item)) out.push_back(mail);
  }
  return out;
}

std::shared_ptr<Appointment> Client::FindAppointment(const std::string& subject) {
  std::shared_ptr<Appointment> found;
  for (const auto& appointment : CalendarItems()) {
    if (appointment->Subject() != subject) continue;
    if (found) RaiseUser("More than one appointment in the Calendar is called \"" + subject + "\"");
    found = appointment;
  }
  if (!found) RaiseUser("No appointment in the Calendar is called \"" + subject + "\"");
  return found;
}

std::shared_ptr<MailItem> Client::FindMail(const std::string& subject) {
  for (const auto& mail : InboxItems()) {
    if (mail->subject == subject) return mail;
  }
  RaiseUser("No mail in the Inbox is called \"" + subject + "\"");
}

std::shared_ptr<Appointment> Client::NewAppointment(const AppointmentFields& fields) {
  auto appointment = std::make_shared<Appointment>(fields);
  appointment->uid = calendar::NewUid();
  app_->Windows().Open(appointment);
  return appointment;
}

std::shared_ptr<MailItem> Client::NewMail(const std::string& subject, const std::string& body) {
  auto mail = std::make_shared<MailItem>(subject, body);
  app_->Folders().Default(kFolderInbox).Contents().Add(mail);
  return mail;
}

std::shared_ptr<ContactItem> Client::NewContact(const std::string& fullName) {
  auto contact = std::make_shared<ContactItem>(fullName);
  app_->Folders().Default(kFolderContacts).Contents().Add(contact);
  return contact;
}

bool Client::Open(const std::shared_ptr<outlook::Item>& item) { return app_->Windows().Open(item) != nullptr; }

std::shared_ptr<outlook::Item> Client::ActiveItem() {
  auto inspector = app_->Windows().Active();
  if (!inspector) RaiseUser("No item is open: open one first");
  return inspector->Item();
}

void Client::Edit(const std::string& field, const std::string& value) {
  auto appointment = std::dynamic_pointer_cast<Appointment>(ActiveItem());
  if (!appointment) RaiseUser("The open item is not an appointment; only appointments can be edited here");
  ApplyField(appointment->Fields(), field, value);
}

bool Client::Save() {
  auto item = ActiveItem();
  auto appointment = std::dynamic_pointer_cast<Appointment>(item);
  if (!appointment) return true;  // mail and contacts are kept as they are
  if (appointment->RaiseWrite()) return false;
  const bool isNew = appointment->IsNew();
  appointment->MarkSaved();
  if (isNew) app_->Folders().Default(outlook::kFolderCalendar).Contents().Add(appointment);
  WriteCalendarFile();
  return true;
}

void Client::Close() {
  auto item = ActiveItem();
  if (auto appointment = std::dynamic_pointer_cast<Appointment>(item)) appointment->Revert();
  app_->Windows().Close(item.get());
}

void Client::Delete(const std::shared_ptr<outlook::Item>& item) {
  if (auto appointment = std::dynamic_pointer_cast<Appointment>(item)) appointment->Revert();
  app_->Windows().Close(item.get());
  Folder* folder = app_->Folders().FolderOf(item.get());
  if (!folder) RaiseUser("The item has never been saved, so there is nothing to delete");
  folder->Contents().Remove(item.get());
  if (folder->Type() != outlook::kFolderDeletedItems) {
    app_->Folders().Default(outlook::kFolderDeletedItems).Contents().Add(item);
  }
  WriteCalendarFile();
}

void Client::WriteCalendarFile() {
  calendar::CalendarData data;
  data.otherComponents = otherComponents_;
  auto collect = [&](int folderType, bool deleted) {
    for (const auto& item : app_->Folders().Default(folderType).Contents().All()) {
      auto appointment = std::dynamic_pointer_cast<Appointment>(item);
      if (!appointment) continue;
      data.appointments.push_back({appointment->SavedFields(), appointment->uid, deleted, appointment->source});
    }
  };
  collect(outlook::kFolderCalendar, false);
  collect(outlook::kFolderDeletedItems, true);
  calendar::SaveCalendarFile(calendarPath_, data);
}

}  // namespace host
