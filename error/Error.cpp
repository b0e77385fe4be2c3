#include "error/Error.h"

#include <utility>

namespace falcrest {

Error::Error(int64_t number, std::string source, std::string description)
    : std::runtime_error(description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

}  // namespace falcrest
