#include "library/support/Error.h"

#include <utility>

namespace falcrest {

Error::Error(int64_t number, std::string source, std::string description)
    : std::runtime_error(description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

void RaiseOverflow(const std::string& description) {
  throw Error(error_number::kOverflow, kLibrarySource, description);
}

void RaiseSubscriptOutOfRange(const std::string& description) {
  throw Error(error_number::kSubscriptOutOfRange, kLibrarySource, description);
}

void RaiseTypeMismatch(const std::string& description) {
  throw Error(error_number::kTypeMismatch, kLibrarySource, description);
}

void RaiseMissingObject(const std::string& description) {
  throw Error(error_number::kMissingObject, kLibrarySource, description);
}

}  // namespace falcrest
