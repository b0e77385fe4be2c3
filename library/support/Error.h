#pragma once
// The library's standard errors, raised as the system's one error type.
#include <string>

#include "error/Error.h"

namespace falcrest {

// The library's own source text for the standard errors it raises.
inline constexpr const char* kLibrarySource = "Falcrest";

// Builders for the standard errors; each description says what went wrong in words.
[[noreturn]] void RaiseOverflow(const std::string& description = "Overflow");
[[noreturn]] void RaiseSubscriptOutOfRange(const std::string& description = "Subscript out of range");
[[noreturn]] void RaiseTypeMismatch(const std::string& description = "Type mismatch");
[[noreturn]] void RaiseMissingObject(const std::string& description);

}  // namespace falcrest
