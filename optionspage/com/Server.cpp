// The four entry points of Orvane.ocx, and what its registration adds for a control.
#include <string>
#include <vector>

#include "Orvane_h.h"
#include "comsupport/ClassFactory.h"
#include "comsupport/Module.h"
#include "comsupport/Registration.h"
#include "optionspage/com/SettingControl.h"
#include "optionspage/win32/PageView.h"

namespace {

const comsupport::ServerClass kClasses[] = {
    {&CLSID_ReminderSetting, orvane::com::CreateSettingControl},
};

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

comsupport::RegistryValue Default(std::wstring text) { return {std::wstring(), std::move(text), false, 0}; }

// What the server registers: the type library, the class and the interfaces that are ours,
// and the control's entries that tools read. The client's PropertyPage interface is declared
// in our library but its key belongs to the client: it is neither written nor removed.
HRESULT OcxEntries(std::vector<comsupport::RegistryEntry>& out) {
  HRESULT hr = comsupport::ServerEntries(out);
  if (FAILED(hr)) return hr;
  const std::wstring clientInterface = L"Interface\\" + GuidText(IID_PropertyPage);
  std::vector<comsupport::RegistryEntry> ours;
  for (comsupport::RegistryEntry& entry : out) {
    const bool client = entry.key.compare(0, clientInterface.size(), clientInterface) == 0;
    if (!client) ours.push_back(std::move(entry));
  }
  const std::wstring key = L"CLSID\\" + GuidText(CLSID_ReminderSetting);
  ours.push_back({HKEY_CLASSES_ROOT, key + L"\\Control", {Default(L"")}});
  ours.push_back({HKEY_CLASSES_ROOT, key + L"\\MiscStatus", {Default(L"0")}});
  ours.push_back({HKEY_CLASSES_ROOT, key + L"\\MiscStatus\\1", {Default(L"131473")}});
  ours.push_back({HKEY_CLASSES_ROOT, key + L"\\ToolboxBitmap32", {Default(comsupport::ThisModulePath() + L", 30000")}});
  out = std::move(ours);
  return S_OK;
}

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return comsupport::GetClassObject(kClasses, sizeof(kClasses) / sizeof(kClasses[0]), clsid, iid, out);
}

STDAPI DllCanUnloadNow() { return comsupport::CanUnloadNow(); }

STDAPI DllRegisterServer() { return comsupport::RegisterServer(&OcxEntries); }

STDAPI DllUnregisterServer() { return comsupport::UnregisterServer(&OcxEntries); }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // Unloaded by FreeLibrary (not at process end): the view's window classes go with the code.
  if (reason == DLL_PROCESS_DETACH && !reserved) orvane::win32::UnregisterViewClasses();
  return TRUE;
}
