#pragma once
// The registry seam: keys and typed values below a root, with the registry's stored forms.
// Key and value names compare without regard to case and keep their spelling. Texts are
// the bytes of the ANSI code page.
#include <cstdint>
#include <string>
#include <vector>

namespace falcrest::registry {

constexpr uint32_t kCurrentUser = 0x80000001u;
constexpr uint32_t kLocalMachine = 0x80000002u;

enum ValueType : uint32_t {
  kNone = 0,
  kSz = 1,
  kExpandSz = 2,
  kBinary = 3,
  kDword = 4,
  kMultiSz = 7,
};

// A stored value: its type and its bytes exactly as stored (a REG_SZ keeps its NUL, if any;
// a REG_DWORD is 4 bytes little-endian).
struct Value {
  uint32_t type = kNone;
  std::string data;
};

// Key paths reach a Store as NormalizeKeyPath gives them (KeyPath.h): no leading, trailing
// or doubled backslash; an empty path is the root.
class Store {
 public:
  virtual ~Store() = default;
  // True when the key opens (an empty path opens the root itself).
  virtual bool KeyExists(uint32_t root, const std::string& path) = 0;
  // The value, or false when the key or the value is missing or cannot be read.
  virtual bool QueryValue(uint32_t root, const std::string& path, const std::string& name, Value& out) = 0;
  // Creates the key and its parents as needed and writes the value; raises falcrest::Error
  // when the key cannot be created or the value cannot be written.
  virtual void SetValue(uint32_t root, const std::string& path, const std::string& name, const Value& value) = 0;
  // Names of the direct subkeys, as spelled when created; empty when the key is missing.
  virtual std::vector<std::string> SubKeys(uint32_t root, const std::string& path) = 0;
  // Removes the key with everything below it; nothing happens when it is missing.
  virtual void DeleteKey(uint32_t root, const std::string& path) = 0;
};

// The platform's registry: on POSIX the per-user file at $FALCREST_REGISTRY or
// ${XDG_CONFIG_HOME:-~/.config}/tarvanel/registry.reg, read afresh on every call; on Windows
// the system's registry through its narrow-character functions.
Store& DefaultStore();

}  // namespace falcrest::registry
