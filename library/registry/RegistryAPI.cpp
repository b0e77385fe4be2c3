#include "library/registry/RegistryAPI.h"

#include <string>

#include "library/digest/CodePage.h"
#include "library/registry/KeyPath.h"
#include "library/registry/RegistryStore.h"
#include "library/support/Numbers.h"

namespace falcrest::RegistryAPI {

namespace {

// Removes leading and trailing space characters (blanks only, not tabs or line breaks).
std::string TrimSpaces(const std::string& text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return std::string();
  size_t end = text.find_last_not_of(' ');
  return text.substr(begin, end - begin + 1);
}

uint32_t Root(int32_t root) { return static_cast<uint32_t>(root); }

}  // namespace

bool KeyExists(int32_t root, const std::string& path) {
  std::string key;
  if (!registry::NormalizeKeyPath(path, key)) return false;
  return registry::DefaultStore().KeyExists(Root(root), codepage::ToAnsi(key));
}

ReadResult ReadValue(int32_t root, const std::string& path, const std::string& name) {
  std::string key;
  registry::Value value;
  if (!registry::NormalizeKeyPath(path, key) ||
      !registry::DefaultStore().QueryValue(Root(root), codepage::ToAnsi(key), codepage::ToAnsi(name), value))
    return std::string();
  if (value.type == registry::kSz) {
    // A string written without its NUL comes back whole; one with an inner NUL is cut there.
    return codepage::FromAnsi(value.data.substr(0, value.data.find('\0')));
  }
  if (value.type == registry::kDword && value.data.size() <= 4) {
    // The value is read into a zeroed 4-byte buffer: a shorter one fills only its low bytes,
    // a longer one does not fit and the read fails.
    uint32_t n = 0;
    for (size_t i = value.data.size(); i-- > 0;) n = (n << 8) | static_cast<unsigned char>(value.data[i]);
    return static_cast<int32_t>(n);
  }
  return std::string();
}

void WriteValue(int32_t root, const std::string& path, const std::string& name, const std::string& value) {
  // Only the canonical form becomes a number, so every other text reads back as typed.
  const std::string text = TrimSpaces(value);
  registry::Value stored;
  if (IsCanonicalInt32(text)) {
    uint32_t n = static_cast<uint32_t>(std::stoll(text));
    stored.type = registry::kDword;
    for (int i = 0; i < 4; ++i) stored.data += static_cast<char>((n >> (8 * i)) & 0xff);
  } else {
    stored.type = registry::kSz;
    stored.data = codepage::ToAnsi(text) + '\0';
  }
  std::string key;
  if (!registry::NormalizeKeyPath(path, key))
    throw Error(kRegistryErrorNumber, kRegistryErrorSource,
                "Cannot create the registry key \"" + path + "\": a key path must not start with a backslash");
  registry::DefaultStore().SetValue(Root(root), codepage::ToAnsi(key), codepage::ToAnsi(name), stored);
}

}  // namespace falcrest::RegistryAPI
