#pragma once
// A page built by a test starts with no settings (so it asks no service and shows no
// message), and the prefix's settings are as they were afterwards: other suites' scenarios
// share the prefix and expect their own.
#include <windows.h>

#include <string>
#include <vector>

class SettingsKeyGuard {
 public:
  SettingsKeyGuard() {
    // The outermost key of the settings path that does not exist yet, if any.
    for (size_t end = kPath.find(L'\\');; end = kPath.find(L'\\', end + 1)) {
      const std::wstring key = kPath.substr(0, end);
      HKEY opened = nullptr;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        created_ = key;
        return;
      }
      RegCloseKey(opened);
      if (end == std::wstring::npos) break;
    }
    // The key exists: keep its values and take it away for the test.
    HKEY settings = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, kPath.c_str(), 0, KEY_READ, &settings);
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      DWORD nameLength = 256;
      DWORD type = 0;
      BYTE data[4096];
      DWORD size = sizeof(data);
      if (RegEnumValueW(settings, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
      kept_.push_back({std::wstring(name, nameLength), type, std::vector<BYTE>(data, data + size)});
    }
    RegCloseKey(settings);
    RegDeleteTreeW(HKEY_CURRENT_USER, kPath.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, kPath.c_str());
    created_ = kPath;
    existed_ = true;
  }
  ~SettingsKeyGuard() {
    RegDeleteTreeW(HKEY_CURRENT_USER, created_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, created_.c_str());
    if (!existed_) return;
    HKEY settings = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &settings, nullptr) != 0) return;
    for (const Value& value : kept_) {
      RegSetValueExW(settings, value.name.c_str(), 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
    }
    RegCloseKey(settings);
  }
  SettingsKeyGuard(const SettingsKeyGuard&) = delete;
  SettingsKeyGuard& operator=(const SettingsKeyGuard&) = delete;

 private:
  struct Value {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
  };
  inline static const std::wstring kPath =
      L"Software\\Microsoft\\Office\\Outlook\\Addins\\Reminder.ReminderDesigner\\Setting";
  std::wstring created_;  // the key to remove at the end
  std::vector<Value> kept_;
  bool existed_ = false;
};
