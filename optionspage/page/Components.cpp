#include "optionspage/page/Components.h"

namespace orvane {

std::unique_ptr<ReminderSetting> CreateReminderSetting() { return std::make_unique<ReminderSetting>(); }

}  // namespace orvane
