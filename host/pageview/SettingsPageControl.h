#pragma once
// The settings page as the host's Options dialog hosts it: the terminal view of the page's
// controls and the commands that stand for what a user does with mouse and keyboard.
#include <memory>

#include "host/options/PageControl.h"
#include "optionspage/page/ReminderSetting.h"

namespace host {

class SettingsPageControl : public PageControl {
 public:
  // Creates the page; its start-up runs here.
  SettingsPageControl();

  outlook::PropertyPage& Page() override { return *page_; }
  void InitProperties(std::shared_ptr<outlook::PropertyPageSite> site) override;
  void Render(std::ostream& out) const override;
  bool Command(const std::vector<std::string>& words, std::ostream& out) override;
  std::vector<std::string> CommandHelp() const override;

  const orvane::ReminderSetting& Setting() const { return *page_; }

 private:
  bool Tick(const std::string& name, bool ticked, std::ostream& out);

  std::unique_ptr<orvane::ReminderSetting> page_;
};

}  // namespace host
