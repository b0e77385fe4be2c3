#pragma once
// Runs a scenario against the host: the client with its add-ins, the scripted windowing and
// device dialog, and the reference service's database for the service expectations. Stops
// at the first failure and reports it as "FILE:LINE: expected ..., got ...".
#include <iosfwd>
#include <memory>
#include <string>

#include "host/client/Client.h"
#include "host/options/OptionsDialog.h"
#include "host/scenario/Scenario.h"
#include "host/windowing/ScriptedDeviceDialog.h"
#include "host/windowing/ScriptedWindowing.h"

namespace host::scenario {

class ScenarioRunner {
 public:
  // transcript: what the user would have seen; errors: the failure line.
  ScenarioRunner(std::string calendarPath, std::ostream& transcript, std::ostream& errors);
  ~ScenarioRunner();
  ScenarioRunner(const ScenarioRunner&) = delete;
  ScenarioRunner& operator=(const ScenarioRunner&) = delete;

  // Runs every step; 0 when all passed, 1 at the first failure.
  int Run(const Script& script);

 private:
  void Execute(const Step& step);
  void StartClient();
  // Commands that act (ScenarioRunner.cpp).
  void NewItem(const std::vector<std::string>& words);
  void OpenItem(const std::vector<std::string>& words);
  void DeleteItem(const std::vector<std::string>& words);
  void DialogAnswerCommand(const Step& step);
  void Options(const std::vector<std::string>& words);
  void Page(const std::vector<std::string>& words);
  void Setting(const std::vector<std::string>& words);
  // Commands that check (ScenarioExpectations.cpp).
  void Expect(const std::vector<std::string>& words);
  void ExpectMessage(const std::vector<std::string>& words);
  void ExpectDialogRows(const std::vector<std::string>& words);
  void ExpectService(const std::vector<std::string>& words);
  void ExpectServiceEvent(const std::vector<std::string>& words);
  void ExpectItem(const std::vector<std::string>& words);

  std::string calendarPath_;
  std::ostream& out_;
  std::ostream& err_;
  ScriptedWindowing windowing_;
  ScriptedDeviceDialog dialogView_;
  std::unique_ptr<Client> client_;
  std::unique_ptr<OptionsDialog> options_;
  std::string serviceDatabase_;
};

// An expectation that did not hold: "expected ..., got ...".
struct Failure {
  std::string text;
};
[[noreturn]] void Fail(const std::string& expected, const std::string& got);

}  // namespace host::scenario
