// The registry on Windows: advapi32's narrow-character functions, so that key paths, value
// names and text data pass through the ANSI code page as the system converts them. Every
// call opens the key afresh and closes it before it returns; nothing is cached. Odd paths
// and short values are handed to the system as they stand: what it does with them is the
// registry's behaviour.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "library/digest/CodePage.h"
#include "library/registry/RegistryAPI.h"
#include "library/registry/RegistryStore.h"

namespace falcrest::registry {

namespace {

// A key handle, closed when it goes out of scope. A handle equal to the root it came from
// (an empty path opens the root itself) is the caller's and stays open.
class UniqueHkey {
 public:
  explicit UniqueHkey(HKEY parent) : parent_(parent) {}
  UniqueHkey(const UniqueHkey&) = delete;
  UniqueHkey& operator=(const UniqueHkey&) = delete;
  ~UniqueHkey() {
    if (key_ != nullptr && key_ != parent_) RegCloseKey(key_);
  }
  HKEY Get() const { return key_; }
  HKEY* Put() { return &key_; }

 private:
  HKEY parent_;
  HKEY key_ = nullptr;
};

// The root as the system takes it: a 32-bit handle value, sign-extended as the predefined
// keys are on 64-bit Windows (HKEY_CURRENT_USER is 0xFFFFFFFF80000001 there).
HKEY RootHandle(uint32_t root) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<int32_t>(root)));
}

std::string RootName(uint32_t root) {
  switch (root) {
    case 0x80000000u: return "HKEY_CLASSES_ROOT";
    case kCurrentUser: return "HKEY_CURRENT_USER";
    case kLocalMachine: return "HKEY_LOCAL_MACHINE";
    case 0x80000003u: return "HKEY_USERS";
    default: {
      char text[16];
      std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(root));
      return text;
    }
  }
}

// The system's text for an error code, as UTF-8, with the code itself.
std::string Reason(LONG code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text;
  if (n > 0 && buffer != nullptr) {
    int size = WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
    text.resize(size);
    WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(n), &text[0], size, nullptr, nullptr);
  }
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
    text.pop_back();
  if (text.empty()) text = "system error";
  return text + " (error " + std::to_string(code) + ")";
}

// The key's full name for a description, as UTF-8 text.
std::string KeyText(uint32_t root, const std::string& path) {
  return path.empty() ? RootName(root) : RootName(root) + "\\" + codepage::FromAnsi(path);
}

[[noreturn]] void Raise(const std::string& description) {
  throw Error(kRegistryErrorNumber, kRegistryErrorSource, description);
}

class Win32Store : public Store {
 public:
  bool KeyExists(uint32_t root, const std::string& path) override {
    UniqueHkey key(RootHandle(root));
    return RegOpenKeyA(RootHandle(root), path.c_str(), key.Put()) == ERROR_SUCCESS && key.Get() != nullptr;
  }

  bool QueryValue(uint32_t root, const std::string& path, const std::string& name, Value& out) override {
    UniqueHkey key(RootHandle(root));
    if (RegOpenKeyA(RootHandle(root), path.c_str(), key.Put()) != ERROR_SUCCESS) return false;
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    std::string data;
    for (;;) {
      // A value may grow between the two calls: ask again with the size it reports then.
      data.resize(size);
      LONG rc = RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(data.empty() ? nullptr : &data[0]), &size);
      if (rc == ERROR_SUCCESS) break;
      if (rc != ERROR_MORE_DATA) return false;
    }
    data.resize(size);
    out.type = type;
    out.data = std::move(data);
    return true;
  }

  void SetValue(uint32_t root, const std::string& path, const std::string& name, const Value& value) override {
    UniqueHkey key(RootHandle(root));
    LONG rc = RegCreateKeyA(RootHandle(root), path.c_str(), key.Put());
    if (rc != ERROR_SUCCESS)
      Raise("Cannot write the registry value \"" + codepage::FromAnsi(name) + "\": the key \"" +
            KeyText(root, path) + "\" cannot be created: " + Reason(rc));
    rc = RegSetValueExA(key.Get(), name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                        static_cast<DWORD>(value.data.size()));
    if (rc != ERROR_SUCCESS)
      Raise("Cannot write the registry value \"" + codepage::FromAnsi(name) + "\" of key \"" +
            KeyText(root, path) + "\": " + Reason(rc));
  }

  std::vector<std::string> SubKeys(uint32_t root, const std::string& path) override {
    std::vector<std::string> names;
    UniqueHkey key(RootHandle(root));
    if (RegOpenKeyA(RootHandle(root), path.c_str(), key.Put()) != ERROR_SUCCESS) return names;
    // A key name has at most 255 characters; in a double-byte page that is up to 510 bytes.
    char buffer[1024];
    for (DWORD index = 0;; ++index) {
      DWORD size = sizeof buffer;
      LONG rc = RegEnumKeyExA(key.Get(), index, buffer, &size, nullptr, nullptr, nullptr, nullptr);
      if (rc != ERROR_SUCCESS) break;
      names.emplace_back(buffer, size);
    }
    return names;
  }

  void DeleteKey(uint32_t root, const std::string& path) override {
    // An empty path would name the root, whose whole contents RegDeleteTree would remove:
    // roots stay.
    if (path.find_first_not_of('\\') == std::string::npos) return;
    LONG rc = RegDeleteTreeA(RootHandle(root), path.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
      Raise("Cannot delete the registry key \"" + KeyText(root, path) + "\": " + Reason(rc));
  }
};

}  // namespace

Store& DefaultStore() {
  static Win32Store store;
  return store;
}

}  // namespace falcrest::registry
