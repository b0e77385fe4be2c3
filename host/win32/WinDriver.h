#pragma once
// The scenario driver of the Windows client: the add-ins of the registry with their real
// dialogs and message boxes, caught and answered by the window watch; the client's Options
// dialog hosting the real page; and the reference service read over HTTP from its member
// pages (a Windows program cannot open its database while it runs).
#include <iosfwd>
#include <memory>
#include <string>

#include "host/scenario/Driver.h"
#include "host/win32/ServicePages.h"
#include "host/win32/WinClient.h"
#include "host/win32/WindowWatch.h"
#include "host/win32/options/OptionsDialog.h"

namespace host::win32 {

class WinDriver : public scenario::Driver {
 public:
  explicit WinDriver(std::ostream& transcript) : watch_(transcript) {}
  ~WinDriver() override;

  void SetPictureFolder(const std::wstring& folder) { watch_.SetPictureFolder(folder); }

  std::vector<std::string> StartClient(std::ostream& out) override;
  ClientItems& Items() override { return *client_; }
  void Settle() override;

  std::vector<ShownMessage>& Messages() override { return watch_.Pending(); }
  void QueueAnswer(DialogAnswer answer) override { watch_.Queue(std::move(answer)); }
  size_t QueuedAnswers() const override { return watch_.QueuedAnswers(); }
  const std::vector<DeviceDialogRow>& LastRows() const override { return watch_.LastRows(); }
  int TakeShownCount() override { return watch_.TakeShownCount(); }
  std::string TakeFailure() override { return watch_.TakeFailure(); }

  void OpenOptions(std::ostream& out) override;
  bool OptionsOpen() const override { return options_ && options_->IsOpen(); }
  void Press(Button button) override;
  bool SelectTab(const std::string& numberOrTitle) override;
  std::vector<std::string> TabTitles() const override;
  bool PageCommand(const std::vector<std::string>& words, std::ostream& out, std::string& reason) override;
  std::string LastUrl() override;

  std::vector<scenario::ServiceEvent> ServiceEvents(const std::string& database, const std::string& user) override;

 private:
  WindowWatch watch_;
  std::unique_ptr<WinClient> client_;
  std::unique_ptr<OptionsDialog> options_;
  std::unique_ptr<ServicePages> service_;
};

}  // namespace host::win32
