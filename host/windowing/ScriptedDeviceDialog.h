#pragma once
// The device dialog for scenarios: each dialog shown takes the next queued answer (tick or
// untick boxes, then OK, Cancel or close). A dialog with no queued answer, or an answer
// that cannot be carried out, is a failure the runner reports; the dialog is then closed.
#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

#include "addin/dialog/DeviceDialogView.h"
#include "host/windowing/DeviceDialogRows.h"

namespace host {

struct DialogAnswer {
  enum class End { kOk, kCancel, kClose };
  std::vector<std::string> tick;    // device types to tick
  std::vector<std::string> untick;  // device types to untick
  bool onlyTicked = false;          // untick every other box first
  End end = End::kOk;
  std::string origin;  // "FILE:LINE" of the answer, for failures
};

class ScriptedDeviceDialog : public reminder::DeviceDialogView {
 public:
  explicit ScriptedDeviceDialog(std::ostream& transcript) : out_(transcript) {}
  void ShowModal(reminder::AppointmentDevices& dialog) override;

  void Queue(DialogAnswer answer) { answers_.push_back(std::move(answer)); }
  size_t QueuedAnswers() const { return answers_.size(); }

  // The rows of the last dialog shown, as they were before the answer changed them.
  const std::vector<DeviceDialogRow>& LastRows() const { return lastRows_; }
  // Dialogs shown since the counter was last taken.
  int TakeShownCount();
  // The first failure since it was last taken; empty when there was none.
  std::string TakeFailure();

 private:
  std::ostream& out_;
  std::deque<DialogAnswer> answers_;
  std::vector<DeviceDialogRow> lastRows_;
  int shown_ = 0;
  std::string failure_;
};

}  // namespace host
