#pragma once
// The device dialog as its views show it: one row per device type with the state of its
// check box, its address and (SMS) its provider caption.
#include <iosfwd>
#include <string>
#include <vector>

#include "addin/dialog/AppointmentDevices.h"

namespace host {

struct DeviceDialogRow {
  std::string deviceType;  // "HomeEmail" ...
  std::string caption;     // "Home Email" ...
  bool enabled = false;
  bool ticked = false;
  std::string address;
  std::string provider;  // the caption of lblSMSProvider, "(Acme)"; empty on other rows
};

std::vector<DeviceDialogRow> DialogRows(const reminder::AppointmentDevices& dialog);

// The row as one line: "[x] Home Email  demo@example.com", "[ ] Text Messaging  5551234 (Acme)",
// "[-] Fax  (disabled)".
std::string RowText(const DeviceDialogRow& row);

// The whole dialog: caption, description label, numbered rows, buttons.
void RenderDeviceDialog(const reminder::AppointmentDevices& dialog, std::ostream& out);

}  // namespace host
