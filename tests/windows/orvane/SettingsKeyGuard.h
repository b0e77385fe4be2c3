#pragma once
// The page writes its default settings when it starts; a test that builds one leaves the
// prefix's HKEY_CURRENT_USER as it found it, so that a later first-opening scenario is one.
#include <windows.h>

#include <string>

class SettingsKeyGuard {
 public:
  SettingsKeyGuard() {
    // The outermost key of the settings path that does not exist yet, if any.
    const std::wstring path = L"Software\\Microsoft\\Office\\Outlook\\Addins\\Reminder.ReminderDesigner\\Setting";
    for (size_t end = path.find(L'\\'); ; end = path.find(L'\\', end + 1)) {
      const std::wstring key = path.substr(0, end);
      HKEY opened = nullptr;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        created_ = key;
        break;
      }
      RegCloseKey(opened);
      if (end == std::wstring::npos) break;
    }
  }
  ~SettingsKeyGuard() {
    if (created_.empty()) return;
    RegDeleteTreeW(HKEY_CURRENT_USER, created_.c_str());  // what is below the key
    RegDeleteKeyW(HKEY_CURRENT_USER, created_.c_str());
  }

 private:
  std::wstring created_;
};
