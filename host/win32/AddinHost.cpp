#include "host/win32/AddinHost.h"

#include <ostream>

#include "host/win32/CallLog.h"
#include "host/win32/Dispatch.h"

namespace host::win32 {
namespace {

constexpr const wchar_t* kAddinList = L"Software\\Microsoft\\Office\\Outlook\\Addins";

// An empty one-dimensional array of variants, as the client passes for `custom`.
SAFEARRAY* EmptyCustom() { return SafeArrayCreateVector(VT_VARIANT, 0, 0); }

void Check(HRESULT hr, const std::string& call, std::ostream& warnings) {
  if (FAILED(hr)) warnings << "(" << call << " failed: 0x" << std::hex << static_cast<unsigned long>(hr) << std::dec << ")\n";
}

}  // namespace

std::vector<std::wstring> StartupAddins() {
  std::vector<std::wstring> out;
  HKEY list = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kAddinList, 0, KEY_READ, &list) != ERROR_SUCCESS) return out;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(list, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DWORD behavior = 0, size = sizeof behavior, type = 0;
    if (RegGetValueW(list, name, L"LoadBehavior", RRF_RT_REG_DWORD, &type, &behavior, &size) == ERROR_SUCCESS &&
        behavior == 3) {
      out.push_back(name);
    }
  }
  RegCloseKey(list);
  return out;
}

void AddinHost::Connect(IDispatch* application, std::ostream& warnings) {
  for (const std::wstring& progId : StartupAddins()) {
    const std::string name = Utf8(progId.c_str());
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(progId.c_str(), &clsid))) {
      warnings << "(add-in " << name << " is not registered)\n";
      continue;
    }
    IDTExtensibility2* addin = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDTExtensibility2,
                                  reinterpret_cast<void**>(&addin));
    if (FAILED(hr) || !addin) {
      Check(hr, "creating add-in " + name, warnings);
      continue;
    }
    LogCall("create " + name);
    loaded_.push_back({name, addin});
  }
  // Each step reaches every add-in before the next step begins, as the client does.
  for (Loaded& a : loaded_) {
    SAFEARRAY* custom = EmptyCustom();
    LogCall("OnConnection " + a.progId + " mode 1");
    Check(a.addin->OnConnection(application, kStartup, a.addin, &custom), "OnConnection of " + a.progId, warnings);
    SafeArrayDestroy(custom);
  }
  for (Loaded& a : loaded_) {
    SAFEARRAY* custom = EmptyCustom();
    LogCall("OnAddInsUpdate " + a.progId);
    Check(a.addin->OnAddInsUpdate(&custom), "OnAddInsUpdate of " + a.progId, warnings);
    SafeArrayDestroy(custom);
  }
  for (Loaded& a : loaded_) {
    SAFEARRAY* custom = EmptyCustom();
    LogCall("OnStartupComplete " + a.progId);
    Check(a.addin->OnStartupComplete(&custom), "OnStartupComplete of " + a.progId, warnings);
    SafeArrayDestroy(custom);
  }
}

void AddinHost::Disconnect() {
  for (Loaded& a : loaded_) {
    SAFEARRAY* custom = EmptyCustom();
    LogCall("OnBeginShutdown " + a.progId);
    a.addin->OnBeginShutdown(&custom);
    SafeArrayDestroy(custom);
  }
  for (Loaded& a : loaded_) {
    SAFEARRAY* custom = EmptyCustom();
    LogCall("OnDisconnection " + a.progId + " mode 0");
    a.addin->OnDisconnection(kHostShutdown, &custom);
    SafeArrayDestroy(custom);
  }
  for (Loaded& a : loaded_) {
    a.addin->Release();
    LogCall("released " + a.progId);
  }
  loaded_.clear();
}

std::vector<std::string> AddinHost::ProgIds() const {
  std::vector<std::string> out;
  for (const Loaded& a : loaded_) out.push_back(a.progId);
  return out;
}

}  // namespace host::win32
