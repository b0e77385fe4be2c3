#pragma once
// The host's items: appointments with the six fields the add-in reads (plus the end the
// calendar keeps), mail and contacts. An item shown in an inspector is edited in place;
// its last saved state is kept so that closing without saving can put it back.
#include <cstdint>
#include <memory>
#include <string>

#include "addin/objectmodel/Outlook.h"
#include "host/objectmodel/SinkList.h"

namespace host {

struct AppointmentFields {
  falcrest::LocalDateTime start;
  int64_t durationMinutes = 30;  // the end moves with the start
  std::string subject;
  std::string location;
  std::string body;
  bool reminderSet = true;
  int32_t reminderMinutesBeforeStart = 15;
};

class Appointment : public outlook::AppointmentItem {
 public:
  explicit Appointment(AppointmentFields fields = {});

  std::string TypeName() const override { return "AppointmentItem"; }
  falcrest::LocalDateTime Start() const override { return fields_.start; }
  std::string Subject() const override { return fields_.subject; }
  std::string Location() const override { return fields_.location; }
  std::string Body() const override { return fields_.body; }
  bool ReminderSet() const override { return fields_.reminderSet; }
  int32_t ReminderMinutesBeforeStart() const override { return fields_.reminderMinutesBeforeStart; }
  void Advise(outlook::AppointmentEvents* sink) override { sinks_.Advise(sink); }
  void Unadvise(outlook::AppointmentEvents* sink) override { sinks_.Unadvise(sink); }

  // The live fields, as the inspector edits them.
  const AppointmentFields& Fields() const { return fields_; }
  AppointmentFields& Fields() { return fields_; }

  // True until the first save commits the item to a folder.
  bool IsNew() const { return isNew_; }
  // Takes the live fields as the saved state.
  void MarkSaved();
  const AppointmentFields& SavedFields() const { return saved_; }
  // Puts the saved fields back (closing without saving).
  void Revert() { fields_ = saved_; }
  bool Modified() const;

  // Calendar file data the host keeps for the item: its UID and the component as read,
  // so that properties the host does not edit survive a save.
  std::string uid;
  std::string source;

  // Raise the item's events to every advised sink; true when a sink set Cancel.
  bool RaiseOpen();
  bool RaiseWrite();

 private:
  AppointmentFields fields_;
  AppointmentFields saved_;
  bool isNew_ = true;
  SinkList<outlook::AppointmentEvents> sinks_;
};

class MailItem : public outlook::Item {
 public:
  explicit MailItem(std::string subject, std::string body = "")
      : subject(std::move(subject)), body(std::move(body)) {}
  std::string TypeName() const override { return "MailItem"; }
  std::string subject;
  std::string body;
};

class ContactItem : public outlook::Item {
 public:
  explicit ContactItem(std::string fullName) : fullName(std::move(fullName)) {}
  std::string TypeName() const override { return "ContactItem"; }
  std::string fullName;
};

// The text that names an item in lists: subject, or a contact's name.
std::string ItemTitle(const outlook::Item& item);

}  // namespace host
