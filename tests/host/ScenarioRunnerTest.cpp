// The scenario runner without a service: exit status and the failure line of each kind of
// expectation, and the scripted device dialog's answers.
#include <gtest/gtest.h>

#include <sstream>

#include "HostTestSupport.h"
#include "addin/dialog/AppointmentDevices.h"
#include "host/scenario/ScenarioRunner.h"
#include "host/scenario/ScriptedDriver.h"

namespace host::scenario {
namespace {

struct Outcome {
  int status;
  std::string errors;
};

Outcome RunText(const test::TempFolder& folder, const std::string& text) {
  std::ostringstream transcript, errors;
  Script script = ParseScript("s.scenario", text, [](const std::string&, std::string&) { return false; });
  ScriptedDriver driver(folder.Path("calendar.ics"), transcript);
  ScenarioRunner runner(driver, transcript, errors);
  int status = runner.Run(script);
  return {status, errors.str()};
}

TEST(ScenarioRunnerTest, PassingScriptsExitZero) {
  const char* scripts[] = {
      "new appointment subject=A start=\"2026-12-10 09:00\" location=\"Room 4\"\nsave\nclose\n"
      "expect calendar 1\nexpect calendar has A\nexpect appointment A reminder=15 location=\"Room 4\"\n",
      "setting UserID demo\nexpect setting UserID demo\nexpect setting Device\n",
      "new appointment subject=A start=\"2026-12-10 09:00\"\nsave\nrestart\nexpect calendar 1\ndelete A\n"
      "expect deleted has A\nexpect calendar 0\n",
      "new mail subject=Hello\nopen mail Hello\nclose\ndelete mail Hello\nexpect deleted 1\nexpect inbox 0\n",
      "echo nothing to see\nexpect no message\nexpect no dialog\n",
  };
  for (const char* script : scripts) {
    test::TempFolder folder;
    Outcome outcome = RunText(folder, script);
    EXPECT_EQ(outcome.status, 0) << script << "\n" << outcome.errors;
  }
}

TEST(ScenarioRunnerTest, FailuresNameTheLineAndWhatWasSeen) {
  struct Row {
    std::string script;
    std::string error;
  };
  const Row rows[] = {
      {"echo x\nexpect calendar 2\n", "s.scenario:2: expected 2 items in calendar, got 0\n"},
      {"expect message Caption \"Text\"\n", "s.scenario:1: expected the message Caption \"Text\", got no message\n"},
      {"dialog answer ok\necho x\n", "s.scenario:2: expected every queued dialog answer to be used, got 1 left\n"},
      {"setting UserID demo\nexpect setting UserID other\n",
       "s.scenario:2: expected setting UserID \"other\", got \"demo\"\n"},
      {"expect service reminders 1\n",
       "s.scenario:1: expected the service database named (service db PATH), got none\n"},
      {"expect dialog rows\n", "s.scenario:1: expected a device dialog shown, got none since the previous expectation\n"},
      {"open Nothing\n", "s.scenario:1: error: No appointment in the Calendar is called \"Nothing\"\n"},
      {"frobnicate\n", "s.scenario:1: error: Unknown command \"frobnicate\"; the commands are listed in host/SCENARIOS.md\n"},
      {"page type UserID x\n", "s.scenario:1: expected an open Options dialog, got none (use options open)\n"},
      {"expect url http://x/\n", "s.scenario:1: expected the URL http://x/ opened, got none\n"},
  };
  for (const Row& row : rows) {
    test::TempFolder folder;
    Outcome outcome = RunText(folder, row.script);
    EXPECT_EQ(outcome.status, 1) << row.script;
    EXPECT_EQ(outcome.errors, row.error) << row.script;
  }
}

TEST(ScriptedDeviceDialogTest, AnswersTickAndPressButtons) {
  struct Row {
    const char* name;
    DialogAnswer answer;
    std::string selected;
    std::string failure;
  };
  DialogAnswer tickOk;
  tickOk.tick = {"Fax", "HomeEmail"};
  DialogAnswer tickCancel = tickOk;
  tickCancel.end = DialogAnswer::End::kCancel;
  DialogAnswer onlySms;
  onlySms.onlyTicked = true;
  onlySms.tick = {"SMS"};
  DialogAnswer disabled;
  disabled.tick = {"WorkEmail"};
  disabled.origin = "line 7";
  const Row rows[] = {
      {"tick then OK, in row order with the pre-ticked", tickOk, "HomeEmail,AIM,Fax", ""},
      {"tick then Cancel", tickCancel, "", ""},
      {"only unticks the pre-ticked", onlySms, "SMS", ""},
      {"a disabled box closes the dialog", disabled, "", "line 7: expected to tick WorkEmail, got a disabled or unknown box"},
  };
  for (const Row& row : rows) {
    std::ostringstream out;
    ScriptedDeviceDialog view(out);
    view.Queue(row.answer);
    reminder::AppointmentDevices dialog;
    dialog.SetTicked("AIM", true);
    dialog.At("chkWorkEmail").enabled = false;
    view.ShowModal(dialog);
    EXPECT_TRUE(dialog.Unloaded()) << row.name;
    EXPECT_EQ(dialog.selectedDevices, row.selected) << row.name;
    EXPECT_EQ(view.TakeFailure(), row.failure) << row.name;
  }
  std::ostringstream out;
  ScriptedDeviceDialog view(out);
  reminder::AppointmentDevices dialog;
  view.ShowModal(dialog);
  EXPECT_TRUE(dialog.Unloaded());
  EXPECT_EQ(view.TakeFailure(), "expected a queued dialog answer, got a device dialog with none queued");
}

}  // namespace
}  // namespace host::scenario
