#include "comsupport/Registration.h"

#include <oleauto.h>

#include <cwchar>

#include "comsupport/ComPtr.h"
#include "comsupport/Module.h"
#include "comsupport/Text.h"
#include "comsupport/TypeLibrary.h"

namespace comsupport {

namespace {

// The system's proxies that marshal through a type library.
constexpr wchar_t kAutomationProxy[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr wchar_t kDispatchProxy[] = L"{00020420-0000-0000-C000-000000000046}";

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring Format(const wchar_t* pattern, unsigned a, unsigned b) {
  wchar_t text[32];
  swprintf(text, 32, pattern, a, b);
  return text;
}

RegistryValue Text(std::wstring name, std::wstring text) { return {std::move(name), std::move(text), false, 0}; }
RegistryValue Default(std::wstring text) { return Text(std::wstring(), std::move(text)); }

std::wstring NameOf(ITypeLib* library, INT index) {
  Bstr name;
  library->GetDocumentation(index, name.put(), nullptr, nullptr, nullptr);
  return name.get() ? std::wstring(name.get(), SysStringLen(name.get())) : std::wstring();
}

// Adds the entries of one type description of the library.
void AddTypeEntries(ITypeLib* library, UINT index, const std::wstring& library_name, const std::wstring& libid,
                    const std::wstring& hex_version, const std::wstring& version, const std::wstring& path,
                    std::vector<RegistryEntry>& out) {
  ComPtr<ITypeInfo> info;
  if (FAILED(library->GetTypeInfo(index, info.put()))) return;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return;
  const TYPEKIND kind = attr->typekind;
  const WORD flags = attr->wTypeFlags;
  const std::wstring guid = GuidText(attr->guid);
  info->ReleaseTypeAttr(attr);
  const std::wstring name = NameOf(library, static_cast<INT>(index));

  const bool marshalled = kind == TKIND_DISPATCH || (kind == TKIND_INTERFACE && (flags & TYPEFLAG_FOLEAUTOMATION));
  if (marshalled) {
    const bool dispatch_only = kind == TKIND_DISPATCH && !(flags & TYPEFLAG_FDUAL);
    const std::wstring proxy = dispatch_only ? kDispatchProxy : kAutomationProxy;
    const std::wstring key = L"Interface\\" + guid;
    out.push_back({HKEY_CLASSES_ROOT, key, {Default(name)}});
    out.push_back({HKEY_CLASSES_ROOT, key + L"\\ProxyStubClsid", {Default(proxy)}});
    out.push_back({HKEY_CLASSES_ROOT, key + L"\\ProxyStubClsid32", {Default(proxy)}});
    out.push_back({HKEY_CLASSES_ROOT, key + L"\\TypeLib", {Default(libid), Text(L"Version", hex_version)}});
  } else if (kind == TKIND_COCLASS) {
    const std::wstring prog_id = library_name + L"." + name;
    const std::wstring key = L"CLSID\\" + guid;
    out.push_back({HKEY_CLASSES_ROOT, key, {Default(prog_id)}});
    out.push_back({HKEY_CLASSES_ROOT, key + L"\\InprocServer32", {Default(path), Text(L"ThreadingModel", L"Apartment")}});
    out.push_back({HKEY_CLASSES_ROOT, key + L"\\ProgID", {Default(prog_id)}});
    out.push_back({HKEY_CLASSES_ROOT, key + L"\\TypeLib", {Default(libid)}});
    out.push_back({HKEY_CLASSES_ROOT, key + L"\\Version", {Default(version)}});
    out.push_back({HKEY_CLASSES_ROOT, prog_id, {Default(prog_id)}});
    out.push_back({HKEY_CLASSES_ROOT, prog_id + L"\\CLSID", {Default(guid)}});
  }
}

LONG WriteEntry(const RegistryEntry& entry) {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(entry.root, entry.key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  for (const RegistryValue& v : entry.values) {
    const wchar_t* name = v.name.empty() ? nullptr : v.name.c_str();
    if (v.is_number) {
      status = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.number), sizeof(DWORD));
    } else {
      const DWORD bytes = static_cast<DWORD>((v.text.size() + 1) * sizeof(wchar_t));
      status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.text.c_str()), bytes);
    }
    if (status != ERROR_SUCCESS) break;
  }
  RegCloseKey(key);
  return status;
}

LONG RemoveEntry(const RegistryEntry& entry) {
  HKEY key = nullptr;
  LONG status = RegOpenKeyExW(entry.root, entry.key.c_str(), 0, KEY_READ | KEY_SET_VALUE, &key);
  if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (status != ERROR_SUCCESS) return status;
  LONG result = ERROR_SUCCESS;
  for (const RegistryValue& v : entry.values) {
    status = RegDeleteValueW(key, v.name.empty() ? nullptr : v.name.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) result = status;
  }
  DWORD subkeys = 0;
  DWORD values = 0;
  status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return status;
  if (subkeys == 0 && values == 0) {
    status = RegDeleteKeyW(entry.root, entry.key.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) result = status;
  }
  return result;
}

}  // namespace

HRESULT ServerEntries(std::vector<RegistryEntry>& out) {
  out.clear();
  ComPtr<ITypeLib> library;
  HRESULT hr = OwnTypeLibrary(library);
  if (FAILED(hr)) return hr;
  TLIBATTR* attr = nullptr;
  hr = library->GetLibAttr(&attr);
  if (FAILED(hr)) return hr;
  const std::wstring libid = GuidText(attr->guid);
  const std::wstring hex_version = Format(L"%x.%x", attr->wMajorVerNum, attr->wMinorVerNum);
  const std::wstring version = Format(L"%u.%u", attr->wMajorVerNum, attr->wMinorVerNum);
  const std::wstring locale = Format(L"%x", attr->lcid, 0);
  // The loader adds "has a disk image" to what the library itself declares.
  const std::wstring flags = Format(L"%u", attr->wLibFlags & ~LIBFLAG_FHASDISKIMAGE, 0);
  const wchar_t* system = attr->syskind == SYS_WIN64 ? L"win64" : L"win32";
  library->ReleaseTLibAttr(attr);

  const std::wstring path = ThisModulePath();
  if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
  // The folder ends in its separator, as the installer writes a folder reference.
  const std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
  const std::wstring library_name = NameOf(library.get(), -1);
  Bstr help;
  library->GetDocumentation(-1, nullptr, help.put(), nullptr, nullptr);
  const std::wstring help_text = help.get() ? std::wstring(help.get()) : library_name;

  const std::wstring key = L"TypeLib\\" + libid;
  const std::wstring version_key = key + L"\\" + hex_version;
  out.push_back({HKEY_CLASSES_ROOT, key, {}});
  out.push_back({HKEY_CLASSES_ROOT, version_key, {Default(help_text)}});
  out.push_back({HKEY_CLASSES_ROOT, version_key + L"\\FLAGS", {Default(flags)}});
  out.push_back({HKEY_CLASSES_ROOT, version_key + L"\\HELPDIR", {Default(folder)}});
  // The library's own locale, as the system registers it, and the neutral one: the type
  // library marshaler looks the library up for locale 0, which finds no other.
  std::vector<std::wstring> locales{locale};
  if (locale != L"0") locales.push_back(L"0");
  for (const std::wstring& id : locales) {
    out.push_back({HKEY_CLASSES_ROOT, version_key + L"\\" + id, {}});
    out.push_back({HKEY_CLASSES_ROOT, version_key + L"\\" + id + L"\\" + system, {Default(path)}});
  }

  const UINT count = library->GetTypeInfoCount();
  for (UINT i = 0; i < count; ++i) {
    AddTypeEntries(library.get(), i, library_name, libid, hex_version, version, path, out);
  }
  return S_OK;
}

HRESULT WriteEntries(const std::vector<RegistryEntry>& entries) {
  for (const RegistryEntry& entry : entries) {
    const LONG status = WriteEntry(entry);
    if (status != ERROR_SUCCESS) {
      RemoveEntries(entries);
      return HRESULT_FROM_WIN32(status);
    }
  }
  return S_OK;
}

HRESULT RemoveEntries(const std::vector<RegistryEntry>& entries) {
  LONG result = ERROR_SUCCESS;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    const LONG status = RemoveEntry(*it);
    if (status != ERROR_SUCCESS && result == ERROR_SUCCESS) result = status;
  }
  return HRESULT_FROM_WIN32(result);
}

HRESULT RegisterServer(EntriesBuilder entries) {
  try {
    std::vector<RegistryEntry> table;
    const HRESULT hr = entries(table);
    return FAILED(hr) ? hr : WriteEntries(table);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT UnregisterServer(EntriesBuilder entries) {
  try {
    std::vector<RegistryEntry> table;
    const HRESULT hr = entries(table);
    return FAILED(hr) ? hr : RemoveEntries(table);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace comsupport
