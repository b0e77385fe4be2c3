// The four entry points of Reminder.dll. Registration writes the class entries below
// HKEY_CLASSES_ROOT and the client's add-in entry below HKEY_CURRENT_USER, from one table
// that unregistration removes again; the user's "Setting" subkey is not in the table, so it
// stays, and so does the add-in key above it while it holds settings.
#include <cwctype>
#include <string>
#include <vector>

#include "Reminder_h.h"
#include "addin/Registration.h"
#include "addin/com/Designer.h"
#include "comsupport/ClassFactory.h"
#include "comsupport/Module.h"
#include "comsupport/Registration.h"
#include "comsupport/Text.h"
#include "library/constants/SettingsKey.h"

namespace {

const comsupport::ServerClass kClasses[] = {
    {&__uuidof(::ReminderDesigner), reminder::com::CreateDesigner},
};

// IDTExtensibility2 is the system's: our type library describes it, but its interface key
// is not ours to write or delete.
constexpr wchar_t kForeignInterfaceKey[] = L"interface\\{b65ad801-abaf-11d0-bb8b-00a0c90f2744}";

bool IsForeign(const comsupport::RegistryEntry& entry) {
  std::wstring key = entry.key;
  for (wchar_t& c : key) c = static_cast<wchar_t>(std::towlower(c));
  return key.compare(0, wcslen(kForeignInterfaceKey), kForeignInterfaceKey) == 0;
}

comsupport::RegistryValue Text(const wchar_t* name, const std::string& text) {
  return {name, comsupport::Utf16(text), false, 0};
}
comsupport::RegistryValue Number(const wchar_t* name, DWORD number) { return {name, std::wstring(), true, number}; }

HRESULT Entries(std::vector<comsupport::RegistryEntry>& entries) {
  std::vector<comsupport::RegistryEntry> server;
  const HRESULT hr = comsupport::ServerEntries(server);
  if (FAILED(hr)) return hr;
  entries.clear();
  for (comsupport::RegistryEntry& entry : server) {
    if (!IsForeign(entry)) entries.push_back(std::move(entry));
  }
  // The add-in entry, with the client's keys above it, so that unregistration removes those
  // it leaves empty.
  const std::wstring addins = comsupport::Utf16(falcrest::kAddinsKey);
  const std::wstring office = addins.substr(0, addins.rfind(L'\\', addins.rfind(L'\\') - 1));
  entries.push_back({HKEY_CURRENT_USER, office, {}});
  entries.push_back({HKEY_CURRENT_USER, addins.substr(0, addins.rfind(L'\\')), {}});
  entries.push_back({HKEY_CURRENT_USER, addins, {}});
  entries.push_back({HKEY_CURRENT_USER,
                     comsupport::Utf16(falcrest::kAddinKey),
                     {Text(L"FriendlyName", reminder::kAddinFriendlyName),
                      Text(L"Description", reminder::kAddinDescription),
                      Number(L"LoadBehavior", reminder::kLoadAtStartup), Number(L"CommandLineSafe", 0)}});
  return S_OK;
}

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return comsupport::GetClassObject(kClasses, sizeof(kClasses) / sizeof(kClasses[0]), clsid, iid, out);
}

STDAPI DllCanUnloadNow() { return comsupport::CanUnloadNow(); }

STDAPI DllRegisterServer() { return comsupport::RegisterServer(&Entries); }

STDAPI DllUnregisterServer() { return comsupport::UnregisterServer(&Entries); }
