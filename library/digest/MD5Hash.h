#pragma once
// The MD5 digest routines (RFC 1321), rendering the digest as 32 upper-case hex digits.
#include <cstdint>
#include <string>

namespace falcrest::md5 {

// Digest of the text's bytes in the ANSI code page; overflow (6) at 268,435,455 bytes or more.
std::string DigestText(const std::string& utf8);
// Digest of the raw bytes; overflow (6) at 268,435,455 bytes or more.
std::string DigestBytes(const std::string& bytes);

}  // namespace falcrest::md5
