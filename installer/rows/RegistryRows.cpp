// registry-rows FILE_ID DLL [win32]: the registry entries that DLL's DllRegisterServer
// writes, printed as WiX RegistryValue elements for the installer's component of that file.
// The DLL registers into private keys that stand in for HKEY_CLASSES_ROOT and
// HKEY_CURRENT_USER, so the package carries exactly what regsvr32 writes and nothing is left
// in the real registry. The DLL's path becomes [#FILE_ID] and its folder [INSTALLFOLDER].
// With "win32", the type library's platform key is named as a 32-bit build of the same file
// names it (the 32-bit files cannot be loaded here; everything else in their table is alike).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Row {
  const char* root;
  std::wstring key;
  std::wstring name;
  DWORD type;
  std::wstring text;
  DWORD number;
};

std::wstring Lower(std::wstring text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

void Collect(HKEY key, const char* root, const std::wstring& path, std::vector<Row>& rows) {
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD name_size = 16384;
    DWORD type = 0;
    BYTE data[65536];
    DWORD data_size = sizeof(data);
    if (RegEnumValueW(key, i, name, &name_size, nullptr, &type, data, &data_size) != ERROR_SUCCESS) break;
    Row row{root, path, name, type, std::wstring(), 0};
    if (type == REG_SZ) {
      row.text.assign(reinterpret_cast<const wchar_t*>(data), data_size / sizeof(wchar_t));
      while (!row.text.empty() && row.text.back() == L'\0') row.text.pop_back();
    } else if (type == REG_DWORD) {
      row.number = *reinterpret_cast<const DWORD*>(data);
    }
    rows.push_back(row);
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256;
    if (RegEnumKeyExW(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY sub = nullptr;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
    Collect(sub, root, path.empty() ? name : path + L"\\" + name, rows);
    RegCloseKey(sub);
  }
}

// Formatted text: brackets are the installer's, so literal ones are escaped; the file's path
// and folder become references to the installed file.
std::wstring Formatted(const std::wstring& text, const std::wstring& file, const std::wstring& file_id,
                       const std::wstring& folder) {
  std::wstring out;
  size_t i = 0;
  const std::wstring lower = Lower(text);
  if (lower == Lower(folder)) return L"[INSTALLFOLDER]";
  if (lower.compare(0, file.size(), Lower(file)) == 0) {
    out = L"[#" + file_id + L"]";
    i = file.size();
  }
  for (; i < text.size(); ++i) {
    if (text[i] == L'[') out += L"[\\[]";
    else if (text[i] == L']') out += L"[\\]]";
    else out += text[i];
  }
  return out;
}

std::string Xml(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n, nullptr, nullptr);
  std::string out;
  for (char c : utf8) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

int Fail(const char* what, long code) {
  std::fprintf(stderr, "registry-rows: %s (%ld)\n", what, code);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: registry-rows FILE_ID DLL [win32]", 0);
  const std::wstring file_id = argv[1];
  const bool win32 = argc > 3 && std::wstring(argv[3]) == L"win32";
  HMODULE dll = LoadLibraryW(argv[2]);
  if (!dll) return Fail("cannot load the DLL", static_cast<long>(GetLastError()));
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(dll, path, MAX_PATH);
  const std::wstring file = path;
  const std::wstring folder = file.substr(0, file.find_last_of(L'\\') + 1);

  const std::wstring scratch = L"Software\\TarvanelRegistryRows" + std::to_wstring(GetCurrentProcessId());
  HKEY classes = nullptr;
  HKEY user = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, (scratch + L"\\classes").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &classes, nullptr);
  RegCreateKeyExW(HKEY_CURRENT_USER, (scratch + L"\\user").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &user,
                  nullptr);
  if (!classes || !user) return Fail("cannot create the scratch keys", 0);

  auto reg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
  if (!reg) return Fail("no DllRegisterServer", 0);
  RegOverridePredefKey(HKEY_CLASSES_ROOT, classes);
  RegOverridePredefKey(HKEY_CURRENT_USER, user);
  const HRESULT hr = reg();
  RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);

  std::vector<Row> rows;
  Collect(classes, "HKCR", L"", rows);
  Collect(user, "HKCU", L"", rows);
  RegCloseKey(classes);
  RegCloseKey(user);
  RegDeleteTreeW(HKEY_CURRENT_USER, scratch.c_str());
  if (FAILED(hr)) return Fail("DllRegisterServer failed", hr);
  if (rows.empty()) return Fail("DllRegisterServer wrote nothing into the scratch keys", 0);

  std::printf("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Include>\n");
  for (Row& row : rows) {
    if (win32) {
      const std::wstring platform = L"\\win64";
      const size_t at = row.key.size() - platform.size();
      if (row.key.size() > platform.size() && Lower(row.key.substr(at)) == platform) row.key.replace(at, platform.size(), L"\\win32");
    }
    std::string value;
    if (row.type == REG_SZ) {
      value = "Type=\"string\" Value=\"" + Xml(Formatted(row.text, file, file_id, folder)) + "\"";
    } else if (row.type == REG_DWORD) {
      value = "Type=\"integer\" Value=\"" + std::to_string(row.number) + "\"";
    } else {
      return Fail("a value of a registry type the package does not carry", static_cast<long>(row.type));
    }
    const std::string name = row.name.empty() ? "" : " Name=\"" + Xml(row.name) + "\"";
    std::printf("  <RegistryValue Root=\"%s\" Key=\"%s\"%s %s/>\n", row.root, Xml(row.key).c_str(), name.c_str(),
                value.c_str());
  }
  std::printf("</Include>\n");
  return 0;
}
