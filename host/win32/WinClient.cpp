#include "host/win32/WinClient.h"

#include <algorithm>

#include "host/client/FieldText.h"
#include "library/support/Error.h"

namespace host::win32 {
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

HWND MainWindow() {
  static HWND window = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = L"ReminderHostMain";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, wc.lpszClassName, L"reminder-host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                             nullptr, wc.hInstance, nullptr);
    ShowWindow(w, SW_SHOWNORMAL);
    SetForegroundWindow(w);
    return w;
  }();
  return window;
}

WinClient::WinClient() { model_ = std::make_unique<ComModel>(app_); }

WinClient::~WinClient() { Stop(); }

void WinClient::Start(std::ostream& warnings) {
  addins_ = std::make_unique<AddinHost>();
  addins_->Connect(model_->Application(), warnings);
}

void WinClient::Stop() {
  addins_.reset();  // OnBeginShutdown, OnDisconnection, release
  model_.reset();
}

void WinClient::Restart(std::ostream& warnings) {
  Stop();
  model_ = std::make_unique<ComModel>(app_);
  Start(warnings);
}

std::vector<std::shared_ptr<Appointment>> WinClient::CalendarItems() {
  std::vector<std::shared_ptr<Appointment>> out;
  for (const auto& item : app_->Folders().Default(outlook::kFolderCalendar).Contents().All()) {
    if (auto appointment = std::dynamic_pointer_cast<Appointment>(item)) out.push_back(appointment);
  }
  std::stable_sort(out.begin(), out.end(), EarlierStart);
  return out;
}

std::vector<std::shared_ptr<outlook::Item>> WinClient::DeletedItems() {
  return app_->Folders().Default(outlook::kFolderDeletedItems).Contents().All();
}

std::vector<std::shared_ptr<MailItem>> WinClient::InboxItems() {
  std::vector<std::shared_ptr<MailItem>> out;
  for (const auto& item : app_->Folders().Default(kFolderInbox).Contents().All()) {
    if (auto mail = std::dynamic_pointer_cast<MailItem>(item)) out.push_back(mail);
  }
  return out;
}

std::shared_ptr<Appointment> WinClient::FindAppointment(const std::string& subject) {
  std::shared_ptr<Appointment> found;
  for (const auto& appointment : CalendarItems()) {
    if (appointment->Subject() != subject) continue;
    if (found) RaiseUser("More than one appointment in the Calendar is called \"" + subject + "\"");
    found = appointment;
  }
  if (!found) RaiseUser("No appointment in the Calendar is called \"" + subject + "\"");
  return found;
}

std::shared_ptr<MailItem> WinClient::FindMail(const std::string& subject) {
  for (const auto& mail : InboxItems()) {
    if (mail->subject == subject) return mail;
  }
  RaiseUser("No mail in the Inbox is called \"" + subject + "\"");
}

void WinClient::NewAppointment(const AppointmentFields& fields) {
  app_->Windows().Open(std::make_shared<Appointment>(fields));
}

void WinClient::NewMail(const std::string& subject, const std::string& body) {
  app_->Folders().Default(kFolderInbox).Contents().Add(std::make_shared<MailItem>(subject, body));
}

void WinClient::NewContact(const std::string& fullName) {
  app_->Folders().Default(kFolderContacts).Contents().Add(std::make_shared<ContactItem>(fullName));
}

bool WinClient::Open(const std::shared_ptr<outlook::Item>& item) { return app_->Windows().Open(item) != nullptr; }

std::shared_ptr<outlook::Item> WinClient::ActiveItem() {
  auto inspector = app_->Windows().Active();
  if (!inspector) RaiseUser("No item is open: open one first");
  return inspector->Item();
}

void WinClient::Edit(const std::string& field, const std::string& value) {
  auto appointment = std::dynamic_pointer_cast<Appointment>(ActiveItem());
  if (!appointment) RaiseUser("The open item is not an appointment; only appointments can be edited here");
  ApplyField(appointment->Fields(), field, value);
}

bool WinClient::Save() {
  auto appointment = std::dynamic_pointer_cast<Appointment>(ActiveItem());
  if (!appointment) return true;  // mail and contacts are kept as they are
  if (appointment->RaiseWrite()) return false;
  const bool isNew = appointment->IsNew();
  appointment->MarkSaved();
  if (isNew) app_->Folders().Default(outlook::kFolderCalendar).Contents().Add(appointment);
  return true;
}

void WinClient::Close() {
  auto item = ActiveItem();
  if (auto appointment = std::dynamic_pointer_cast<Appointment>(item)) appointment->Revert();
  app_->Windows().Close(item.get());
}

void WinClient::Delete(const std::shared_ptr<outlook::Item>& item) {
  if (auto appointment = std::dynamic_pointer_cast<Appointment>(item)) appointment->Revert();
  app_->Windows().Close(item.get());
  Folder* folder = app_->Folders().FolderOf(item.get());
  if (!folder) RaiseUser("The item has never been saved, so there is nothing to delete");
  folder->Contents().Remove(item.get());
  if (folder->Type() != outlook::kFolderDeletedItems) {
    app_->Folders().Default(outlook::kFolderDeletedItems).Contents().Add(item);
  }
}

}  // namespace host::win32
