#pragma once
// The stand-in client on Windows: the host's object model (host/objectmodel/) behind COM
// objects, the add-ins of the registry connected to it, and the user's operations. The
// appointments live in memory only: the POSIX client's calendar file uses libical, which the
// MinGW build does not have.
#include <windows.h>

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "host/objectmodel/Application.h"
#include "host/objectmodel/Items.h"
#include "host/win32/AddinHost.h"
#include "host/win32/ObjectModel.h"

namespace host::win32 {

class WinClient {
 public:
  WinClient();
  // Disconnects the add-ins, then lets go of the object model.
  ~WinClient();
  WinClient(const WinClient&) = delete;
  WinClient& operator=(const WinClient&) = delete;

  void Start(std::ostream& warnings);
  // Stops and starts again: the items stay (they would be in the client's store).
  void Restart(std::ostream& warnings);
  std::vector<std::string> Addins() const { return addins_ ? addins_->ProgIds() : std::vector<std::string>{}; }
  IDispatch* Application() { return model_->Application(); }
  ComModel& Model() { return *model_; }

  std::vector<std::shared_ptr<Appointment>> CalendarItems();
  std::vector<std::shared_ptr<outlook::Item>> DeletedItems();
  std::vector<std::shared_ptr<MailItem>> InboxItems();
  std::shared_ptr<Appointment> FindAppointment(const std::string& subject);
  std::shared_ptr<MailItem> FindMail(const std::string& subject);

  void NewAppointment(const AppointmentFields& fields);
  void NewMail(const std::string& subject, const std::string& body);
  void NewContact(const std::string& fullName);
  bool Open(const std::shared_ptr<outlook::Item>& item);
  void Edit(const std::string& field, const std::string& value);
  bool Save();
  void Close();
  void Delete(const std::shared_ptr<outlook::Item>& item);

 private:
  std::shared_ptr<outlook::Item> ActiveItem();
  void Stop();

  std::shared_ptr<host::Application> app_ = std::make_shared<host::Application>();
  std::unique_ptr<ComModel> model_;
  std::unique_ptr<AddinHost> addins_;
};

// The client's main window: the active window that owns the add-in's dialogs.
HWND MainWindow();

}  // namespace host::win32
