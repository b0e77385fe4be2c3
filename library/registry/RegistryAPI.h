#pragma once
// The routines behind RegistryClass, over the platform's registry (registry::DefaultStore).
// Texts are UTF-8 here; key paths, value names and string data are stored in the ANSI
// code page.
#include <cstdint>
#include <string>
#include <variant>

#include "library/support/Error.h"

namespace falcrest {

// Error raised when a registry key cannot be created or a value cannot be written.
inline constexpr int64_t kRegistryErrorNumber = error_number::kComponentBase + 0x300;
inline constexpr const char* kRegistryErrorSource = "Falcrest.RegistryClass";

namespace RegistryAPI {

// A value read back: the text of a REG_SZ (up to its first NUL) or a REG_DWORD's number.
using ReadResult = std::variant<std::string, int32_t>;

// Paths are resolved as registry::NormalizeKeyPath says: doubled and trailing backslashes
// count for nothing, and a path that starts with one opens no key and cannot be created.

// True when the key opens; an empty path opens the root itself.
bool KeyExists(int32_t root, const std::string& path);
// The value as text or number (a REG_DWORD of fewer than 4 bytes zero-extended); the empty
// text when the key or value is missing or is of any other type.
ReadResult ReadValue(int32_t root, const std::string& path, const std::string& name);
// Writes the text with blanks trimmed: a REG_DWORD when it is the canonical decimal form of
// a 32-bit integer, otherwise a REG_SZ in the ANSI code page with its NUL. Raises when the
// key cannot be created or the value cannot be written.
void WriteValue(int32_t root, const std::string& path, const std::string& name, const std::string& value);

}  // namespace RegistryAPI
}  // namespace falcrest
