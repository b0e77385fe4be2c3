#include "host/windowing/TerminalDeviceDialog.h"

#include <istream>
#include <ostream>
#include <sstream>

#include "host/text/Words.h"
#include "host/windowing/DeviceDialogRows.h"

namespace host {

void TerminalDeviceDialog::ShowModal(reminder::AppointmentDevices& dialog) {
  RenderDeviceDialog(dialog, out_);
  std::string line;
  while (!dialog.Unloaded()) {
    out_ << "Toggle rows by number (\"1 6\"), then ok, cancel or close> " << std::flush;
    if (!std::getline(in_, line)) {
      out_ << "\n(end of input: the dialog is closed)\n";
      dialog.Close();
      break;
    }
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) continue;
    const std::string first = Lower(words[0]);
    if (first == "ok") {
      dialog.btnOK_Click();
    } else if (first == "cancel") {
      dialog.btnCancel_Click();
    } else if (first == "close") {
      dialog.Close();
    } else if (first == "show") {
      RenderDeviceDialog(dialog, out_);
    } else if (first == "help" || first == "quit" || first == "exit") {
      // The dialog is modal: the client can only be left once it is closed.
      out_ << "Row numbers toggle their boxes; ok keeps the ticked devices, cancel or close sends nothing"
           << (first == "help" ? "" : "; close the dialog before leaving the client") << "\n";
    } else {
      for (const std::string& word : words) {
        int number = 0;
        if (!ParseInt(word, number) || number < 1 || number > static_cast<int>(reminder::kDeviceRows.size())) {
          out_ << "Not a row number: " << word << "\n";
          continue;
        }
        const char* type = reminder::kDeviceRows[number - 1].deviceType;
        if (!dialog.Tick(type, !dialog.IsTicked(type))) out_ << "Row " << number << " is disabled\n";
      }
      RenderDeviceDialog(dialog, out_);
    }
  }
  if (!dialog.selectedDevices.empty()) {
    out_ << "Chosen devices: " << dialog.selectedDevices << "\n";
  } else {
    out_ << "No device chosen\n";
  }
}

}  // namespace host
