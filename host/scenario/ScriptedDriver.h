#pragma once
// The scenario driver of the POSIX client: scripted message boxes and device dialog
// (answered from the queue, echoed to the transcript), the terminal's Options dialog, the
// calendar file, and the reference service's database read directly.
#include <iosfwd>
#include <memory>
#include <string>

#include "host/client/Client.h"
#include "host/options/OptionsDialog.h"
#include "host/scenario/Driver.h"

namespace host::scenario {

class ScriptedDriver : public Driver {
 public:
  ScriptedDriver(std::string calendarPath, std::ostream& transcript);
  ~ScriptedDriver() override;

  std::vector<std::string> StartClient(std::ostream& out) override;
  ClientItems& Items() override { return *client_; }

  std::vector<ShownMessage>& Messages() override { return windowing_.Pending(); }
  void QueueAnswer(DialogAnswer answer) override { dialogView_.Queue(std::move(answer)); }
  size_t QueuedAnswers() const override { return dialogView_.QueuedAnswers(); }
  const std::vector<DeviceDialogRow>& LastRows() const override { return dialogView_.LastRows(); }
  int TakeShownCount() override { return dialogView_.TakeShownCount(); }
  std::string TakeFailure() override { return dialogView_.TakeFailure(); }

  void OpenOptions(std::ostream& out) override;
  bool OptionsOpen() const override { return options_ != nullptr; }
  void Press(Button button) override;
  bool SelectTab(const std::string& numberOrTitle) override { return options_->SelectTab(numberOrTitle); }
  std::vector<std::string> TabTitles() const override;
  void ShowOptions(std::ostream& out) override { options_->Render(out); }
  bool PageCommand(const std::vector<std::string>& words, std::ostream& out, std::string&) override {
    return options_->PageCommand(words, out);
  }
  std::string LastUrl() override { return windowing_.LastUrl(); }

  std::vector<ServiceEvent> ServiceEvents(const std::string& database, const std::string& user) override {
    return ReadServiceEvents(database, user);
  }

 private:
  std::string calendarPath_;
  ScriptedWindowing windowing_;
  ScriptedDeviceDialog dialogView_;
  std::unique_ptr<Client> client_;
  std::unique_ptr<OptionsDialog> options_;
};

}  // namespace host::scenario
