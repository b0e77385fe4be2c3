// The platform-free part of the code page seam. UTF-16 length of UTF-8 text: the platform
// counts characters in UTF-16 units, and so do the Base64 padding and its validity check.
#include <cstdint>
#include <cstring>
#include <string>

#include "library/digest/CodePage.h"

namespace falcrest::codepage {

size_t Utf16Length(const std::string& utf8) {
  const char* p = utf8.data();
  const size_t n = utf8.size();
  size_t units = 0;
  size_t i = 0;
  while (i < n) {
    // Runs of ASCII, eight bytes at a time: one unit each.
    uint64_t word;
    if (i + 8 <= n && (std::memcpy(&word, p + i, 8), (word & 0x8080808080808080ULL) == 0)) {
      units += 8;
      i += 8;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(p[i++]);
    if ((c & 0xC0) != 0x80) ++units;  // every byte but a continuation byte starts a character
    if (c >= 0xF0) ++units;           // a character beyond U+FFFF takes a surrogate pair
  }
  return units;
}

bool IsAscii(const std::string& text) {
  const char* p = text.data();
  const size_t n = text.size();
  size_t i = 0;
  uint64_t high = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, p + i, 8);
    high |= word;
  }
  for (; i < n; ++i) high |= static_cast<unsigned char>(p[i]);
  return (high & 0x8080808080808080ULL) == 0;
}

}  // namespace falcrest::codepage
