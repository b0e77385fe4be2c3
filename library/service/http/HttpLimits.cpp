#include "library/service/http/HttpRequest.h"

namespace falcrest::http {

Limits& CurrentLimits() {
  static Limits limits;
  return limits;
}

}  // namespace falcrest::http
