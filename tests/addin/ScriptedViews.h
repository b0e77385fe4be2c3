#pragma once
// A device dialog view that answers from a script and keeps a copy of each dialog as it was
// shown, and a windowing that records message boxes instead of showing them.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "addin/dialog/AppointmentDevices.h"
#include "addin/dialog/DeviceDialogView.h"
#include "addin/objectmodel/Windowing.h"

namespace addin_test {

struct DialogAnswer {
  enum Action { kOK, kCancel, kClose };
  std::vector<std::string> tick;    // device types the user ticks
  std::vector<std::string> untick;  // device types the user unticks
  Action action = kOK;
};

class ScriptedDialogView : public reminder::DeviceDialogView {
 public:
  void ShowModal(reminder::AppointmentDevices& dialog) override {
    shown.push_back(dialog);
    if (whileShown) whileShown();
    DialogAnswer answer = answers.empty() ? DialogAnswer{} : answers.front();
    if (!answers.empty()) answers.pop_front();
    for (const std::string& type : answer.tick) refusedTicks += dialog.Tick(type, true) ? 0 : 1;
    for (const std::string& type : answer.untick) dialog.Tick(type, false);
    if (answer.action == DialogAnswer::kOK) dialog.btnOK_Click();
    if (answer.action == DialogAnswer::kCancel) dialog.btnCancel_Click();
    if (answer.action == DialogAnswer::kClose) dialog.Close();
  }

  std::deque<DialogAnswer> answers;       // one per showing; none left: OK as prepared
  std::vector<reminder::AppointmentDevices> shown;  // each dialog as prepared
  std::function<void()> whileShown;       // runs while the dialog is up
  int refusedTicks = 0;                   // ticks on disabled boxes, which do nothing
};

struct MessageBoxShown {
  std::string text;
  std::string caption;
  ui::Icon icon;
};

class RecordingWindowing : public ui::Windowing {
 public:
  void MessageBox(const std::string& text, const std::string& caption, ui::Icon icon) override {
    boxes.push_back({text, caption, icon});
  }
  void OpenUrl(const std::string&) override {}
  void SetCursor(ui::Cursor) override {}
  void InjectLeftButton(bool) override {}

  std::vector<MessageBoxShown> boxes;
};

}  // namespace addin_test
