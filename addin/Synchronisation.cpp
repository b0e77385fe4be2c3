// Keeps one remote reminder in step with the tracked appointment: look-up on open,
// create/modify/delete on save, delete when an appointment reaches Deleted Items.
#include "addin/ReminderDesigner.h"
#include "library/constants/SettingsKey.h"
#include "library/records/CalendarEventKeyType.h"
#include "library/support/DateText.h"
#include "library/support/Error.h"

namespace reminder {

void ReminderDesigner::OLAppointmentItem_Open(bool&) {
  try {
    // Read one after the other: the order of a call's arguments is not fixed.
    const outlook::AppointmentItem& appointment = TrackedAppointment();
    const falcrest::LocalDateTime start = appointment.Start();
    CurrentEventId = FindRemoteReminderId(start, appointment.Subject());
  } catch (...) {
    // A failed look-up must not leave an id found earlier for another appointment.
    CurrentEventId = -1;
    ReportCurrentException();
  }
}

void ReminderDesigner::OLAppointmentItem_Write(bool&) {
  try {
    const outlook::AppointmentItem& appointment = TrackedAppointment();
    if (appointment.ReminderSet()) {
      if (CredentialsStored()) {
        const std::string chosen = ChooseDevices();
        if (CurrentEventId <= 0) {
          CreateRemoteReminder(chosen);
        } else {
          ModifyRemoteReminder(CurrentEventId, chosen);
        }
      }
    } else if (CurrentEventId > 0) {
      DeleteRemoteReminder();
    }
    CurrentEventId = -1;
  } catch (...) {
    CurrentEventId = -1;
    ReportCurrentException();
  }
}

void ReminderDesigner::OLItemsDeleted_ItemAdd(const std::shared_ptr<outlook::Item>& item) {
  try {
    std::shared_ptr<outlook::AppointmentItem> appointment = AsAppointment(item);
    if (!appointment) return;
    const falcrest::LocalDateTime start = appointment->Start();
    CurrentEventId = FindRemoteReminderId(start, appointment->Subject());
    if (CurrentEventId > 0) DeleteRemoteReminder();
    CurrentEventId = -1;
  } catch (...) {
    // As on open: a failed look-up or delete leaves no id behind for the next save.
    CurrentEventId = -1;
    ReportCurrentException();
  }
}

int32_t ReminderDesigner::FindRemoteReminderId(const falcrest::LocalDateTime& start, const std::string& subject) {
  if (!CredentialsStored()) return -1;
  PrepareServiceCall();
  falcrest::CalendarEventKeyType key;
  key.UserId = Credentials().UserId;
  key.EventDateTime = falcrest::GeneralDateText(start);
  key.Subject = subject;
  return Service().GetReminderIds(Credentials(), key);
}

void ReminderDesigner::CreateRemoteReminder(const std::string& chosenTypes) {
  std::shared_ptr<falcrest::ReminderType> reminder = BuildReminderRecord(-1, chosenTypes);
  if (!reminder) return;
  std::shared_ptr<falcrest::ResultType> result = Service().CreateReminder(Credentials(), *reminder);
  if (!result) throw falcrest::Error(kUnknownCreateError, kErrorSource, "Unkown Create Reminder Error");
  if (!result->ErrorMessage.empty()) {
    throw falcrest::Error(kCreateError, kErrorSource, "Create Reminder Error: " + result->ErrorMessage);
  }
}

void ReminderDesigner::ModifyRemoteReminder(int32_t eventId, const std::string& chosenTypes) {
  std::shared_ptr<falcrest::ReminderType> reminder = BuildReminderRecord(eventId, chosenTypes);
  if (!reminder) return;
  const std::string text = Service().ModifyReminderByEventId(Credentials(), *reminder);
  if (!text.empty()) throw falcrest::Error(kCreateError, kErrorSource, "Create Reminder Error: " + text);
}

// Uses the credentials and address the look-up that found the id left behind.
void ReminderDesigner::DeleteRemoteReminder() { Service().DeleteReminderByEventId(Credentials(), CurrentEventId); }

std::shared_ptr<falcrest::ReminderType> ReminderDesigner::BuildReminderRecord(int32_t eventId,
                                                                              const std::string& chosenTypes) {
  const std::string userId = Setting(falcrest::kUserIdValue);
  const std::string password = Setting(falcrest::kPasswordValue);
  if (userId.empty() || password.empty()) return nullptr;
  PrepareServiceCall();

  auto member = std::make_shared<falcrest::MemberType>();
  member->UserId = userId;
  member->Password = PasswordDigest(password);
  int n = 0;
  member->Devices = BuildMemberDevices(chosenTypes, n);

  const outlook::AppointmentItem& appointment = TrackedAppointment();
  const falcrest::LocalDateTime start = appointment.Start();
  auto event = std::make_shared<falcrest::CalendarEventType>();
  if (eventId >= 0) event->EventId = eventId;
  event->EventDateTime = falcrest::GeneralDateText(start);
  event->Subject = appointment.Subject();
  const std::string location = appointment.Location();
  event->Description = Description(location, appointment.Body());

  auto reminder = std::make_shared<falcrest::ReminderType>();
  reminder->EventPropty = event;
  reminder->RemindDateTime =
      falcrest::GeneralDateText(falcrest::AddMinutes(start, -int64_t{appointment.ReminderMinutesBeforeStart()}));
  reminder->User = member;

  // Every chosen device dropped: nothing to send, and nothing worth a message.
  if (n == 0) return nullptr;
  return reminder;
}

std::string ReminderDesigner::Description(const std::string& location, const std::string& body) {
  std::string description;
  if (!location.empty()) description = "Location:" + location;
  if (!body.empty()) {
    if (!description.empty()) description += "\r\n";
    description += "Detail:" + body;
  }
  return description;
}

}  // namespace reminder
