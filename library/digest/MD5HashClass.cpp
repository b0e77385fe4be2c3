#include "library/digest/MD5HashClass.h"

#include "library/digest/MD5Hash.h"

namespace falcrest {

std::string MD5HashClass::ComputeHash(const std::string& text) const {
  return md5::DigestText(text);
}

}  // namespace falcrest
