#pragma once
// What differs between the clients a scenario runs on: how the client starts, how a device
// dialog is answered and a message box caught, how the Options dialog and its page are
// driven, and how the service's records are read. The scenario runner does the rest, once.
#include <iosfwd>
#include <string>
#include <vector>

#include "host/client/ClientItems.h"
#include "host/scenario/ServiceDatabase.h"
#include "host/windowing/ScriptedDeviceDialog.h"
#include "host/windowing/ScriptedWindowing.h"

namespace host::scenario {

// An expectation that did not hold: "expected ..., got ...".
struct Failure {
  std::string text;
};
[[noreturn]] void Fail(const std::string& expected, const std::string& got);

class Driver {
 public:
  virtual ~Driver() = default;

  // Starts the client, or stops it and starts it again (its items stay); warnings of
  // add-ins that could not be loaded go to `out`. Gives the ProgIDs of the add-ins connected.
  virtual std::vector<std::string> StartClient(std::ostream& out) = 0;
  // The client's items; valid once the client has started.
  virtual ClientItems& Items() = 0;
  // After each step: lets what the step set off reach its windows.
  virtual void Settle() {}

  // Message boxes shown and not yet taken by an expectation, oldest first.
  virtual std::vector<ShownMessage>& Messages() = 0;
  // Each device dialog shown takes the next queued answer.
  virtual void QueueAnswer(DialogAnswer answer) = 0;
  virtual size_t QueuedAnswers() const = 0;
  // The rows of the last dialog shown, before the answer changed them.
  virtual const std::vector<DeviceDialogRow>& LastRows() const = 0;
  // Dialogs shown since the count was last taken.
  virtual int TakeShownCount() = 0;
  // The first dialog that could not be answered since it was last taken; empty: none.
  virtual std::string TakeFailure() = 0;

  enum class Button { kOk, kApply, kCancel };
  // The Options dialog: opened, pressed, its tabs and its page's controls.
  virtual void OpenOptions(std::ostream& out) = 0;
  virtual bool OptionsOpen() const = 0;
  virtual void Press(Button button) = 0;
  // By number (from 1) or title; false when there is none such.
  virtual bool SelectTab(const std::string& numberOrTitle) = 0;
  virtual std::vector<std::string> TabTitles() const = 0;
  // After an Options command that left the dialog open: shows it where the client prints it.
  virtual void ShowOptions(std::ostream&) {}
  // A command for the page of the tab shown; false, with a reason where there is one, when
  // the page does not know it.
  virtual bool PageCommand(const std::vector<std::string>& words, std::ostream& out, std::string& reason) = 0;
  // The last web page opened; empty when none was.
  virtual std::string LastUrl() = 0;

  // The member's events on the service behind this database, in the order they were made.
  virtual std::vector<ServiceEvent> ServiceEvents(const std::string& database, const std::string& user) = 0;
};

}  // namespace host::scenario
