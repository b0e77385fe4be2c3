#include "host/client/ClientItems.h"

#include <algorithm>

#include "host/client/FieldText.h"
#include "library/support/Error.h"

namespace host {
namespace {

[[noreturn]] void RaiseUser(const std::string& description) {
  throw falcrest::Error(falcrest::error_number::kComponentBase + 0x131, "reminder-host", description);
}

bool EarlierStart(const std::shared_ptr<Appointment>& a, const std::shared_ptr<Appointment>& b) {
  const double sa = falcrest::ToOleDate(a->Start());
  const double sb = falcrest::ToOleDate(b->Start());
  return sa != sb ? sa < sb : a->Subject() < b->Subject();
}

}  // namespace

std::vector<std::shared_ptr<Appointment>> ClientItems::CalendarItems() {
  std::vector<std::shared_ptr<Appointment>> out;
  for (const auto& item : app_->Folders().Default(outlook::kFolderCalendar).Contents().All()) {
    if (auto appointment = std::dynamic_pointer_cast<Appointment>(item)) out.push_back(appointment);
  }
  std::stable_sort(out.begin(), out.end(), EarlierStart);
  return out;
}

std::vector<std::shared_ptr<outlook::Item>> ClientItems::DeletedItems() {
  return app_->Folders().Default(outlook::kFolderDeletedItems).Contents().All();
}

std::vector<std::shared_ptr<MailItem>> ClientItems::InboxItems() {
  std::vector<std::shared_ptr<MailItem>> out;
  for (const auto& item : app_->Folders().Default(kFolderInbox).Contents().All()) {
    if (auto mail = std::dynamic_pointer_cast<MailItem>(item)) out.push_back(mail);
  }
  return out;
}

std::shared_ptr<Appointment> ClientItems::FindAppointment(const std::string& subject) {
  std::shared_ptr<Appointment> found;
  for (const auto& appointment : CalendarItems()) {
    if (appointment->Subject() != subject) continue;
    if (found) RaiseUser("More than one appointment in the Calendar is called \"" + subject + "\"");
    found = appointment;
  }
  if (!found) RaiseUser("No appointment in the Calendar is called \"" + subject + "\"");
  return found;
}

std::shared_ptr<MailItem> ClientItems::FindMail(const std::string& subject) {
  for (const auto& mail : InboxItems()) {
    if (mail->subject == subject) return mail;
  }
  RaiseUser("No mail in the Inbox is called \"" + subject + "\"");
}

std::shared_ptr<Appointment> ClientItems::NewAppointment(const AppointmentFields& fields) {
  auto appointment = std::make_shared<Appointment>(fields);
  app_->Windows().Open(appointment);
  return appointment;
}

std::shared_ptr<MailItem> ClientItems::NewMail(const std::string& subject, const std::string& body) {
  auto mail = std::make_shared<MailItem>(subject, body);
  app_->Folders().Default(kFolderInbox).Contents().Add(mail);
  return mail;
}

std::shared_ptr<ContactItem> ClientItems::NewContact(const std::string& fullName) {
  auto contact = std::make_shared<ContactItem>(fullName);
  app_->Folders().Default(kFolderContacts).Contents().Add(contact);
  return contact;
}

bool ClientItems::Open(const std::shared_ptr<outlook::Item>& item) { return app_->Windows().Open(item) != nullptr; }

std::shared_ptr<outlook::Item> ClientItems::ActiveItem() {
  auto inspector = app_->Windows().Active();
  if (!inspector) RaiseUser("No item is open: open one first");
  return inspector->Item();
}

void ClientItems::Edit(const std::string& field, const std::string& value) {
  auto appointment = std::dynamic_pointer_cast<Appointment>(ActiveItem());
  if (!appointment) RaiseUser("The open item is not an appointment; only appointments can be edited here");
  ApplyField(appointment->Fields(), field, value);
}

bool ClientItems::Save() {
  auto appointment = std::dynamic_pointer_cast<Appointment>(ActiveItem());
  if (!appointment) return true;  // mail and contacts are kept as they are
  if (appointment->RaiseWrite()) return false;
  const bool isNew = appointment->IsNew();
  appointment->MarkSaved();
  if (isNew) app_->Folders().Default(outlook::kFolderCalendar).Contents().Add(appointment);
  Stored();
  return true;
}

void ClientItems::Close() {
  auto item = ActiveItem();
  if (auto appointment = std::dynamic_pointer_cast<Appointment>(item)) appointment->Revert();
  app_->Windows().Close(item.get());
}

void ClientItems::Delete(const std::shared_ptr<outlook::Item>& item) {
  if (auto appointment = std::dynamic_pointer_cast<Appointment>(item)) appointment->Revert();
  app_->Windows().Close(item.get());
  Folder* folder = app_->Folders().FolderOf(item.get());
  if (!folder) RaiseUser("The item has never been saved, so there is nothing to delete");
  folder->Contents().Remove(item.get());
  if (folder->Type() != outlook::kFolderDeletedItems) {
    app_->Folders().Default(outlook::kFolderDeletedItems).Contents().Add(item);
  }
  Stored();
}

}  // namespace host
