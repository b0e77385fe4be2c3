#include "host/windowing/ScriptedDeviceDialog.h"

#include <ostream>

namespace host {

void ScriptedDeviceDialog::ShowModal(reminder::AppointmentDevices& dialog) {
  ++shown_;
  lastRows_ = DialogRows(dialog);
  RenderDeviceDialog(dialog, out_);
  auto fail = [&](const std::string& what) {
    if (failure_.empty()) failure_ = what;
    out_ << "(the dialog is closed)\n";
    dialog.Close();
  };
  if (answers_.empty()) {
    fail("expected a queued dialog answer, got a device dialog with none queued");
    return;
  }
  DialogAnswer answer = answers_.front();
  answers_.pop_front();
  if (answer.onlyTicked) {
    for (const reminder::DeviceRow& row : reminder::kDeviceRows) {
      if (dialog.IsTicked(row.deviceType)) dialog.Tick(row.deviceType, false);
    }
  }
  for (const std::string& type : answer.untick) {
    if (!dialog.Tick(type, false)) {
      fail(answer.origin + ": expected to untick " + type + ", got a disabled or unknown box");
      return;
    }
  }
  for (const std::string& type : answer.tick) {
    if (!dialog.Tick(type, true)) {
      fail(answer.origin + ": expected to tick " + type + ", got a disabled or unknown box");
      return;
    }
  }
  switch (answer.end) {
    case DialogAnswer::End::kOk:
      out_ << "(OK)\n";
      dialog.btnOK_Click();
      break;
    case DialogAnswer::End::kCancel:
      out_ << "(Cancel)\n";
      dialog.btnCancel_Click();
      break;
    case DialogAnswer::End::kClose:
      out_ << "(closed)\n";
      dialog.Close();
      break;
  }
}

int ScriptedDeviceDialog::TakeShownCount() {
  int shown = shown_;
  shown_ = 0;
  return shown;
}

std::string ScriptedDeviceDialog::TakeFailure() {
  std::string failure = failure_;
  failure_.clear();
  return failure;
}

}  // namespace host
