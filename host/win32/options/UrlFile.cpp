#include "host/win32/options/UrlFile.h"

#include <windows.h>

#include <fstream>

namespace host::win32 {

namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? value : L"";
}

}  // namespace

// Under Wine the recorder writes into the prefix's folder, seen here through drive Z:.
UrlFile::UrlFile() {
  const std::wstring prefix = Environment(L"WINEPREFIX");
  if (!prefix.empty()) {
    path_ = L"Z:" + prefix + L"/last-url.txt";
    for (wchar_t& c : path_) {
      if (c == L'/') c = L'\\';
    }
  } else {
    path_ = Environment(L"TEMP") + L"\\reminder-host-urls.txt";
  }
}

std::vector<std::wstring> UrlFile::Lines() const {
  std::vector<std::wstring> lines;
  std::ifstream in(path_.c_str());
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::wstring(line.begin(), line.end()));  // URLs are ASCII
  }
  return lines;
}

std::wstring UrlFile::Last() {
  std::vector<std::wstring> lines = Lines();
  for (int waited = 0; lines.size() < expected_ && waited < 10000; waited += 50) {
    Sleep(50);
    lines = Lines();
  }
  expected_ = 0;
  return lines.empty() ? L"" : lines.back();
}

bool UrlFile::UseRecorder(const std::wstring& recorder) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG status = RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(recorder.c_str()),
                                     DWORD((recorder.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

}  // namespace host::win32
