#pragma once
// The registry file in memory, and its REGEDIT4 text form. Keys are full paths that start
// with a root's name ("HKEY_CURRENT_USER\Software\..."); names compare without regard to
// ASCII case and keep the spelling they were first given.
#include <cstdint>
#include <string>
#include <vector>

#include "library/registry/RegistryStore.h"

namespace falcrest::registry::filestore {

struct NamedValue {
  std::string name;  // "" is the default value, written "@"
  Value value;
};

struct KeySection {
  std::vector<std::string> path;  // components; the first is the root's name
  std::vector<NamedValue> values;
};

class RegFile {
 public:
  // Reads the text of a file; lines that cannot be read are skipped.
  static RegFile Parse(const std::string& text);
  // The REGEDIT4 text of every key, in the order the keys were first written.
  std::string Format() const;

  // True when the key is written or is a parent of a written key.
  bool KeyExists(const std::vector<std::string>& path) const;
  // The key's value of that name, or nullptr.
  const Value* Find(const std::vector<std::string>& path, const std::string& name) const;
  // Creates the key when needed (spelled after the keys already there) and sets the value.
  void Set(const std::vector<std::string>& path, const std::string& name, const Value& value);
  // Names of the direct subkeys, each once, in their first spelling.
  std::vector<std::string> SubKeys(const std::vector<std::string>& path) const;
  // Removes the key and every key below it.
  void Delete(const std::vector<std::string>& path);

 private:
  // The key's section, created (spelled after the keys already there) when missing.
  KeySection& Open(const std::vector<std::string>& path);
  KeySection* FindSection(const std::vector<std::string>& path);
  const KeySection* FindSection(const std::vector<std::string>& path) const;

  std::vector<KeySection> sections_;
};

// ASCII case-insensitive equality, as the registry compares names.
bool SameName(const std::string& a, const std::string& b);
// The root's name ("HKEY_CURRENT_USER"...), or the empty text for a value that is no root.
std::string RootName(uint32_t root);

}  // namespace falcrest::registry::filestore
