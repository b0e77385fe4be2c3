// UTF-16 length of UTF-8 text: the platform counts characters in UTF-16 units, and so do the
// Base64 padding and the validity check of its input.
#include <string>

#include "library/digest/CodePage.h"

namespace falcrest::codepage {

size_t Utf16Length(const std::string& utf8) {
  size_t units = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++units;  // every byte but a continuation byte starts a character
    if (c >= 0xF0) ++units;           // a character beyond U+FFFF takes a surrogate pair
  }
  return units;
}

}  // namespace falcrest::codepage
