#pragma once
// The device dialog on a terminal: the form, then a prompt that toggles rows by number
// until "ok", "cancel" or "close" (the end of input closes it, which counts as cancel).
#include <iosfwd>

#include "addin/dialog/DeviceDialogView.h"

namespace host {

class TerminalDeviceDialog : public reminder::DeviceDialogView {
 public:
  TerminalDeviceDialog(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  void ShowModal(reminder::AppointmentDevices& dialog) override;

 private:
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace host
