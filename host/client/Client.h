#pragma once
// The stand-in client: its object model, its calendar file and its add-ins, with the
// operations a user performs (new, open, edit, save, close, delete). Both front ends (the
// terminal and the scenario runner) drive it.
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "host/addins/AddinLoader.h"
#include "host/calendar/IcalMapping.h"
#include "host/objectmodel/Application.h"
#include "host/objectmodel/Items.h"

namespace host {

class Client {
 public:
  // Reads the calendar file (raises falcrest::Error when it is not usable).
  explicit Client(std::string calendarPath);
  // Disconnects the add-ins still loaded.
  ~Client();
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  Application& App() { return *app_; }
  const std::string& CalendarPath() const { return calendarPath_; }

  // Loads the add-ins entered in the registry; warnings go to `warnings`.
  void LoadAddins(std::ostream& warnings);
  void UnloadAddins();
  const std::vector<LoadedAddin>& Addins() const { return addins_; }

  // The appointments of the Calendar, by start; the items of Deleted Items; the Inbox.
  std::vector<std::shared_ptr<Appointment>> CalendarItems();
  std::vector<std::shared_ptr<outlook::Item>> DeletedItems();
  std::vector<std::shared_ptr<MailItem>> InboxItems();
  // The one appointment of the Calendar with this subject; raises when there is none or
  // more than one.
  std::shared_ptr<Appointment> FindAppointment(const std::string& subject);
  std::shared_ptr<MailItem> FindMail(const std::string& subject);

  // A new appointment shown in an inspector (not saved yet).
  std::shared_ptr<Appointment> NewAppointment(const AppointmentFields& fields);
  // A new mail in the Inbox; a new contact in Contacts.
  std::shared_ptr<MailItem> NewMail(const std::string& subject, const std::string& body);
  std::shared_ptr<ContactItem> NewContact(const std::string& fullName);
  // Shows the item in an inspector; false when its Open was cancelled.
  bool Open(const std::shared_ptr<outlook::Item>& item);

  // The item of the active inspector; raises when no inspector is open.
  std::shared_ptr<outlook::Item> ActiveItem();
  // Edits a field of the active inspector's appointment.
  void Edit(const std::string& field, const std::string& value);
  // Saves the active inspector's item: raises Write, and unless a receiver cancelled it,
  // commits the item (a new appointment enters the Calendar) and writes the calendar file.
  // Returns false when the save was cancelled.
  bool Save();
  // Closes the active inspector; unsaved changes are dropped.
  void Close();
  // Moves the item to Deleted Items (raising ItemAdd there); an item already in Deleted
  // Items is removed for good. Writes the calendar file.
  void Delete(const std::shared_ptr<outlook::Item>& item);

 private:
  void WriteCalendarFile();

  std::string calendarPath_;
  std::shared_ptr<Application> app_ = std::make_shared<Application>();
  std::vector<std::string> otherComponents_;
  std::vector<LoadedAddin> addins_;
};

}  // namespace host
