// Prints the add-in's stored settings as the add-in reads them (RegQueryValueExA): one line
// per value, "name<TAB>type<TAB>bytes in hex".
#include <windows.h>

#include <cstdio>

int main() {
  const char* path = "Software\\Microsoft\\Office\\Outlook\\Addins\\Reminder.ReminderDesigner\\Setting";
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    std::fprintf(stderr, "no settings key\n");
    return 1;
  }
  for (DWORD index = 0;; ++index) {
    char name[256] = {};
    DWORD nameSize = sizeof(name);
    if (RegEnumValueA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    BYTE data[4096] = {};
    DWORD type = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExA(key, name, nullptr, &type, data, &size) != ERROR_SUCCESS) continue;
    std::printf("%s\t%lu\t", name, static_cast<unsigned long>(type));
    for (DWORD i = 0; i < size; ++i) std::printf("%02x", data[i]);
    std::printf("\n");
  }
  RegCloseKey(key);
  return 0;
}
