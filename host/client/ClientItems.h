#pragma once
// The user's operations on the client's items, the same on every client: find, new, open,
// edit, save, close, delete. A client that keeps its items in a file writes it in Stored().
#include <memory>
#include <string>
#include <vector>

#include "host/objectmodel/Application.h"
#include "host/objectmodel/Items.h"

namespace host {

class ClientItems {
 public:
  explicit ClientItems(std::shared_ptr<Application> app) : app_(std::move(app)) {}
  virtual ~ClientItems() = default;
  ClientItems(const ClientItems&) = delete;
  ClientItems& operator=(const ClientItems&) = delete;

  // The appointments of the Calendar, by start; the items of Deleted Items; the Inbox.
  std::vector<std::shared_ptr<Appointment>> CalendarItems();
  std::vector<std::shared_ptr<outlook::Item>> DeletedItems();
  std::vector<std::shared_ptr<MailItem>> InboxItems();
  // The one appointment of the Calendar with this subject; raises when there is none or
  // more than one.
  std::shared_ptr<Appointment> FindAppointment(const std::string& subject);
  std::shared_ptr<MailItem> FindMail(const std::string& subject);
  // A new appointment shown in an inspector (not saved yet).
  virtual std::shared_ptr<Appointment> NewAppointment(const AppointmentFields& fields);
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
  // commits the item (a new appointment enters the Calendar). False when it was cancelled.
  bool Save();
  // Closes the active inspector; unsaved changes are dropped.
  void Close();
  // Moves the item to Deleted Items (raising ItemAdd there); an item already in Deleted
  // Items is removed for good.
  void Delete(const std::shared_ptr<outlook::Item>& item);

 protected:
  // After a save or a delete changed what the folders hold.
  virtual void Stored() {}

  std::shared_ptr<Application> app_;
};

}  // namespace host
