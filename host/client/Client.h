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
#include "host/client/ClientItems.h"

namespace host {

class Client : public ClientItems {
 public:
  // Reads the calendar file (raises falcrest::Error when it is not usable).
  explicit Client(std::string calendarPath);
  // Disconnects the add-ins still loaded.
  ~Client() override;

  Application& App() { return *app_; }
  const std::string& CalendarPath() const { return calendarPath_; }

  // Loads the add-ins entered in the registry; warnings go to `warnings`.
  void LoadAddins(std::ostream& warnings);
  void UnloadAddins();
  const std::vector<LoadedAddin>& Addins() const { return addins_; }

  // A new appointment, with the UID the calendar file keeps it by.
  std::shared_ptr<Appointment> NewAppointment(const AppointmentFields& fields) override;

 private:
  // Saves and deletes write the calendar file.
  void Stored() override;

  std::string calendarPath_;
  std::vector<std::string> otherComponents_;
  std::vector<LoadedAddin> addins_;
};

}  // namespace host
