#include "host/windowing/DeviceDialogRows.h"

#include <iomanip>
#include <ostream>

namespace host {

std::vector<DeviceDialogRow> DialogRows(const reminder::AppointmentDevices& dialog) {
  std::vector<DeviceDialogRow> rows;
  for (const reminder::DeviceRow& design : reminder::kDeviceRows) {
    DeviceDialogRow row;
    const reminder::Control& box = dialog.At(design.checkBox);
    row.deviceType = design.deviceType;
    row.caption = box.caption;
    row.enabled = box.enabled;
    row.ticked = box.value == 1;
    row.address = dialog.At(design.addressLabel).caption;
    if (design.extraLabel && *design.extraLabel) row.provider = dialog.At(design.extraLabel).caption;
    rows.push_back(row);
  }
  return rows;
}

std::string RowText(const DeviceDialogRow& row) {
  std::string box = !row.enabled ? "[-]" : row.ticked ? "[x]" : "[ ]";
  std::string text = box + " " + row.caption;
  text.append(text.size() < 22 ? 22 - text.size() : 1, ' ');
  if (!row.enabled) return text + "(disabled)";
  text += row.address;
  if (!row.provider.empty()) text += " " + row.provider;
  return text;
}

void RenderDeviceDialog(const reminder::AppointmentDevices& dialog, std::ostream& out) {
  out << "== " << dialog.Caption() << " ==\n";
  out << dialog.At("lblDescription").caption << "\n";
  out << "  " << dialog.At("frmDevices").caption << "\n";
  int number = 1;
  for (const DeviceDialogRow& row : DialogRows(dialog)) {
    out << "  " << std::setw(2) << number++ << " " << RowText(row) << "\n";
  }
  out << "[ " << dialog.At("btnOK").caption << " ]  [ " << dialog.At("btnCancel").caption << " ]\n";
}

}  // namespace host
