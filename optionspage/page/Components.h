#pragma once
// The classes Orvane publishes, by ProgID.
#include <memory>

#include "optionspage/page/ReminderSetting.h"

namespace orvane {

inline constexpr const char* kReminderSettingProgId = "Orvane.ReminderSetting";

// Creates the settings page; its start-up runs here.
std::unique_ptr<ReminderSetting> CreateReminderSetting();

}  // namespace orvane
