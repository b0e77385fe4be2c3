#include "host/scenario/ScriptedDriver.h"

#include <ostream>

#include "addin/dialog/DeviceDialogView.h"

namespace host::scenario {

ScriptedDriver::ScriptedDriver(std::string calendarPath, std::ostream& transcript)
    : calendarPath_(std::move(calendarPath)), windowing_(transcript), dialogView_(transcript) {
  ui::Install(&windowing_);
  reminder::InstallDeviceDialogView(&dialogView_);
}

ScriptedDriver::~ScriptedDriver() {
  options_.reset();
  client_.reset();
  reminder::InstallDeviceDialogView(nullptr);
  ui::Install(nullptr);
}

std::vector<std::string> ScriptedDriver::StartClient(std::ostream& out) {
  options_.reset();
  client_.reset();  // the calendar file keeps the items
  client_ = std::make_unique<Client>(calendarPath_);
  client_->LoadAddins(out);
  std::vector<std::string> progIds;
  for (const LoadedAddin& addin : client_->Addins()) progIds.push_back(addin.progId);
  return progIds;
}

void ScriptedDriver::OpenOptions(std::ostream& out) {
  options_ = std::make_unique<OptionsDialog>(client_->App());
  for (const std::string& warning : options_->Warnings()) out << "(a page could not be added: " << warning << ")\n";
  options_->Render(out);
}

void ScriptedDriver::Press(Button button) {
  if (button == Button::kOk) options_->Ok();
  else if (button == Button::kApply) options_->Apply();
  else options_->Cancel();
  if (options_->Closed()) options_.reset();
}

std::vector<std::string> ScriptedDriver::TabTitles() const {
  std::vector<std::string> titles;
  for (size_t i = 0; i < options_->TabCount(); ++i) titles.push_back(options_->TabTitle(i));
  return titles;
}

}  // namespace host::scenario
