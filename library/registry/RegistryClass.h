#pragma once
// Reads and writes the values of one registry key, named by a root and a path.
// Reading never raises: a missing key or value reads as the empty text.
#include <cstdint>
#include <string>

namespace falcrest {

class RegistryClass {
 public:
  // Handle value of the root; setting one of the two known roots sets RootKeyName to match.
  int32_t RootKey() const { return root_key_; }
  void SetRootKey(int32_t value);
  // "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE" (exact case) also set RootKey.
  const std::string& RootKeyName() const { return root_key_name_; }
  void SetRootKeyName(const std::string& value);
  // Path below the root, backslash-separated, no leading backslash.
  const std::string& KeyName() const { return key_name_; }
  void SetKeyName(const std::string& value) { key_name_ = value; }

  // Writes `data`: a REG_DWORD when the trimmed text is a canonical 32-bit decimal number,
  // otherwise a REG_SZ of the trimmed text with its NUL. Raises when the key cannot be
  // created or the value cannot be written.
  void SetData(const std::string& Name, const std::string& data) const;
  // The value as text: a string up to its first NUL, a REG_DWORD in decimal; the empty
  // text for anything else or anything missing.
  std::string GetData(const std::string& Name) const;
  // True when the key opens.
  bool KeyExist() const;

 private:
  int32_t root_key_ = 0;
  std::string root_key_name_;
  std::string key_name_;
};

}  // namespace falcrest
