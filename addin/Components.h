#pragma once
// The add-in's creatable component: what the client creates from the ProgID below and
// connects through IDTExtensibility2.
#include <memory>

#include "addin/objectmodel/Outlook.h"

namespace reminder {

inline constexpr const char* kReminderDesignerProgId = "Reminder.ReminderDesigner";

// A new, unconnected add-in object.
std::shared_ptr<outlook::IDTExtensibility2> CreateReminderDesigner();

}  // namespace reminder
