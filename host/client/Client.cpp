#include "host/client/Client.h"

#include "host/calendar/CalendarFile.h"

namespace host {

Client::Client(std::string calendarPath)
    : ClientItems(std::make_shared<Application>()), calendarPath_(std::move(calendarPath)) {
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

std::shared_ptr<Appointment> Client::NewAppointment(const AppointmentFields& fields) {
  auto appointment = ClientItems::NewAppointment(fields);
  appointment->uid = calendar::NewUid();
  return appointment;
}

void Client::Stored() {
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
