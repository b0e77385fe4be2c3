#include "host/pageview/RegisterSettingsPage.h"

#include "host/pageview/SettingsPageControl.h"
#include "optionspage/page/Components.h"

void RegisterSettingsPage() {
  host::RegisterPage(orvane::kReminderSettingProgId,
                     [] { return std::make_unique<host::SettingsPageControl>(); });
}
