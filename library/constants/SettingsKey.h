#pragma once
// Where the add-in's entry and its settings live, and the names of the settings values.

namespace falcrest {

inline constexpr const char* kSettingsRootName = "HKEY_CURRENT_USER";
inline constexpr const char* kAddinsKey = "Software\\Microsoft\\Office\\Outlook\\Addins";
inline constexpr const char* kAddinKey = "Software\\Microsoft\\Office\\Outlook\\Addins\\Reminder.ReminderDesigner";
inline constexpr const char* kSettingsKey =
    "Software\\Microsoft\\Office\\Outlook\\Addins\\Reminder.ReminderDesigner\\Setting";

inline constexpr const char* kUserIdValue = "UserID";
inline constexpr const char* kPasswordValue = "Password";
inline constexpr const char* kWebServiceUrlValue = "WebServiceURL";
inline constexpr const char* kDeviceValue = "Device";

}  // namespace falcrest
