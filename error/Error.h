#pragma once
// The one error type of the whole system: a number, a source and a description.
// Library code throws it and catches nothing; the entry points the client calls catch it
// and show its description in one message box. It stands apart from the library so that the
// COM plumbing below the library can report it without depending on the library.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace falcrest {

class Error : public std::runtime_error {
 public:
  Error(int64_t number, std::string source, std::string description);

  int64_t Number() const { return number_; }
  const std::string& Source() const { return source_; }
  const std::string& Description() const { return description_; }

 private:
  int64_t number_;
  std::string source_;
  std::string description_;
};

// Standard error numbers of the run-time the callers know.
namespace error_number {
constexpr int64_t kOverflow = 6;
constexpr int64_t kSubscriptOutOfRange = 9;
constexpr int64_t kTypeMismatch = 13;
constexpr int64_t kMissingObject = 91;  // also a missing XML node
// First number reserved for components' own errors (vbObjectError).
constexpr int64_t kComponentBase = 0x80040000;
// Transport failures: kComponentBase + 0x200 + the kind of failure (see http seam).
constexpr int64_t kTransportBase = kComponentBase + 0x200;
}  // namespace error_number

}  // namespace falcrest
