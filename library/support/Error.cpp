#include "library/support/Error.h"

namespace falcrest {

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
