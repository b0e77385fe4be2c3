#pragma once
// The core's values into COM out-parameters, and back.
#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <string>

#include "comsupport/Text.h"

namespace comsupport {

inline void Store(BSTR* out, const std::string& value) { *out = NewBstr(value); }
inline void Store(LONG* out, int32_t value) { *out = value; }
inline void Store(VARIANT_BOOL* out, bool value) { *out = value ? VARIANT_TRUE : VARIANT_FALSE; }
inline void Store(DATE* out, double value) { *out = value; }

inline bool Boolean(VARIANT_BOOL value) { return value != VARIANT_FALSE; }

}  // namespace comsupport
