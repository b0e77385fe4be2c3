#pragma once
// Runs a scenario file (host/SCENARIOS.md) against a client through its driver: the
// terminal's scripted windowing and database, or the Windows client's real dialogs and the
// service's pages. Stops at the first failure and reports it as "FILE:LINE: expected ...,
// got ...".
#include <iosfwd>
#include <string>
#include <vector>

#include "host/scenario/Driver.h"
#include "host/scenario/Scenario.h"

namespace host::scenario {

class ScenarioRunner {
 public:
  // transcript: what the user would have seen; errors: the failure line.
  ScenarioRunner(Driver& driver, std::ostream& transcript, std::ostream& errors)
      : driver_(driver), out_(transcript), err_(errors) {}
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
  std::vector<ServiceEvent> ServiceEvents(const std::string& user);

  Driver& driver_;
  std::ostream& out_;
  std::ostream& err_;
  std::string serviceDatabase_;
};

}  // namespace host::scenario
