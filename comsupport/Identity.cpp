#include "comsupport/Identity.h"

namespace comsupport {

IdentityMap& Identities() {
  static IdentityMap* map = new IdentityMap;  // outlives every object, also at process end
  return *map;
}

}  // namespace comsupport
