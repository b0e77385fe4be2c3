#pragma once
#include <string>

namespace falcrest {

class MD5HashClass {
 public:
  // Upper-case MD5 hex digest of the text's ANSI bytes; the argument is left unchanged.
  std::string ComputeHash(const std::string& text) const;
};

}  // namespace falcrest
