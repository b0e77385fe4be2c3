#include "host/objectmodel/Items.h"

namespace host {

Appointment::Appointment(AppointmentFields fields) : fields_(std::move(fields)), saved_(fields_) {}

void Appointment::MarkSaved() {
  saved_ = fields_;
  isNew_ = false;
}

bool Appointment::Modified() const {
  const AppointmentFields& a = fields_;
  const AppointmentFields& b = saved_;
  return isNew_ || a.start != b.start || a.durationMinutes != b.durationMinutes || a.subject != b.subject ||
         a.location != b.location || a.body != b.body || a.reminderSet != b.reminderSet ||
         a.reminderMinutesBeforeStart != b.reminderMinutesBeforeStart;
}

bool Appointment::RaiseOpen() {
  bool cancel = false;
  sinks_.Raise([&](outlook::AppointmentEvents& sink) { sink.Open(cancel); });
  return cancel;
}

bool Appointment::RaiseWrite() {
  bool cancel = false;
  sinks_.Raise([&](outlook::AppointmentEvents& sink) { sink.Write(cancel); });
  return cancel;
}

std::string ItemTitle(const outlook::Item& item) {
  if (auto* appointment = dynamic_cast<const Appointment*>(&item)) return appointment->Subject();
  if (auto* mail = dynamic_cast<const MailItem*>(&item)) return mail->subject;
  if (auto* contact = dynamic_cast<const ContactItem*>(&item)) return contact->fullName;
  return "";
}

}  // namespace host
