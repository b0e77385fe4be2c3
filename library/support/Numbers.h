#pragma once
// Number texts as the run-time the callers know reads them.
#include <cstdint>
#include <string>

namespace falcrest {

// The text as a 32-bit signed integer, a fraction rounded half to even; type mismatch (13)
// for text that is not numeric, overflow (6) outside the 32-bit range. `what` names the
// value in the error description. Numeric: blanks, an optional sign, digits with optional
// "," grouping and one "." decimal separator, an optional exponent; or &H / &O literals.
// The empty text is not numeric.
int32_t ToInt32(const std::string& text, const std::string& what = "The value");

// Guarded read, as the run-time's test-then-convert does it: kNotNumeric leaves `value` as it
// was; kTooLarge (a number outside the 32-bit range) leaves it too, and the caller raises
// RaiseInt32Overflow.
enum class Int32Read { kRead, kNotNumeric, kTooLarge };
Int32Read ReadInt32(const std::string& text, int32_t& value);

// Overflow (6): "<what> "<text>" does not fit in a 32-bit number (...)".
[[noreturn]] void RaiseInt32Overflow(const std::string& text, const std::string& what);

// Guarded read of any numeric text as a double (an &H / &O literal as its 32-bit value);
// false, `value` unchanged, when the text is not numeric or too large.
bool TryToDouble(const std::string& text, double& value);

// True when the text is exactly the canonical decimal form of a signed 32-bit integer:
// "0", "42", "-1"; not "0042", "+1", "-0", " 1" or "4294967295".
bool IsCanonicalInt32(const std::string& text);

}  // namespace falcrest
