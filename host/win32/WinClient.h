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

#include "host/client/ClientItems.h"
#include "host/win32/AddinHost.h"
#include "host/win32/ObjectModel.h"

namespace host::win32 {

class WinClient : public ClientItems {
 public:
  WinClient();
  // Disconnects the add-ins, then lets go of the object model.
  ~WinClient() override;

  void Start(std::ostream& warnings);
  // Stops and starts again: the items stay (they would be in the client's store).
  void Restart(std::ostream& warnings);
  std::vector<std::string> Addins() const { return addins_ ? addins_->ProgIds() : std::vector<std::string>{}; }
  IDispatch* Application() { return model_->Application(); }
  ComModel& Model() { return *model_; }

 private:
  void Stop();

  std::unique_ptr<ComModel> model_;
  std::unique_ptr<AddinHost> addins_;
};

// The client's main window: the active window that owns the add-in's dialogs.
HWND MainWindow();

}  // namespace host::win32
