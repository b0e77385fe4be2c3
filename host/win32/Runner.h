#pragma once
// Runs a scenario file (host/SCENARIOS.md) against the Windows client: the add-ins of the
// registry, their real dialogs and message boxes caught by the window watch, the client's
// Options dialog, and the reference service read over HTTP. Stops at the first failure and
// reports it as "FILE:LINE: expected ..., got ...", as the POSIX runner does.
#include <iosfwd>
#include <memory>
#include <string>

#include "host/scenario/Scenario.h"
#include "host/win32/ServicePages.h"
#include "host/win32/WinClient.h"
#include "host/win32/WindowWatch.h"
#include "host/win32/options/OptionsDialog.h"

namespace host::win32 {

class Runner {
 public:
  Runner(std::ostream& transcript, std::ostream& errors);
  ~Runner();
  Runner(const Runner&) = delete;
  Runner& operator=(const Runner&) = delete;

  void SetPictureFolder(const std::wstring& folder) { watch_.SetPictureFolder(folder); }
  // 0 when every step passed, 1 at the first failure.
  int Run(const scenario::Script& script);

 private:
  void Execute(const scenario::Step& step);
  void StartClient();
  void NewItem(const std::vector<std::string>& words);
  void OpenItem(const std::vector<std::string>& words);
  void DeleteItem(const std::vector<std::string>& words);
  void DialogAnswerCommand(const scenario::Step& step);
  void Options(const std::vector<std::string>& words);
  void Page(const std::vector<std::string>& words);
  void Setting(const std::vector<std::string>& words);
  // RunnerExpect.cpp
  void Expect(const std::vector<std::string>& words);
  void ExpectMessage(const std::vector<std::string>& words);
  void ExpectDialogRows(const std::vector<std::string>& words);
  void ExpectService(const std::vector<std::string>& words);
  void ExpectServiceEvent(const std::vector<std::string>& words);
  void ExpectItem(const std::vector<std::string>& words);
  std::vector<scenario::ServiceEvent> ServiceEvents(const std::string& user);

  std::ostream& out_;
  std::ostream& err_;
  WindowWatch watch_;
  std::unique_ptr<WinClient> client_;
  std::unique_ptr<OptionsDialog> options_;
  std::string serviceDatabase_;
  std::unique_ptr<ServicePages> service_;
};

struct Failure {
  std::string text;
};
[[noreturn]] void Fail(const std::string& expected, const std::string& got);

}  // namespace host::win32
