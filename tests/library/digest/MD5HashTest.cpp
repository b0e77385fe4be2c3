#include <gtest/gtest.h>
#ifndef _WIN32
#include <openssl/evp.h>
#endif

#include <cctype>
#include <string>

#include "library/digest/MD5Hash.h"
#include "library/digest/MD5HashClass.h"
#include "library/support/Error.h"
#include "CodePageEnv.h"

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

#ifdef _WIN32
// MinGW has no OpenSSL. The digest of bytes is proven against OpenSSL on POSIX; here the
// tests check what the platform adds, the ANSI bytes of a text, against that digest.
std::string ReferenceMd5(const std::string& bytes) { return falcrest::md5::DigestBytes(bytes); }
#else
std::string ReferenceMd5(const std::string& bytes) {
  unsigned char md[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), md, &size, EVP_md5(), nullptr);
  static const char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned int i = 0; i < size; ++i) {
    hex.push_back(kHex[md[i] >> 4]);
    hex.push_back(kHex[md[i] & 15]);
  }
  return hex;
}
#endif

TEST(MD5Hash, Rfc1321TestSuiteInUpperCase) {
  const struct {
    const char* text;
    const char* digest;
  } rows[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  falcrest::MD5HashClass hash;
  for (const auto& row : rows)
    EXPECT_EQ(hash.ComputeHash(row.text), Upper(row.digest)) << "text \"" << row.text << "\"";
}

#ifndef _WIN32
// Around the block and padding boundaries: 55 bytes fit one final block, 56 to 63 need two.
TEST(MD5Hash, BlockBoundariesMatchOpenSsl) {
  for (size_t length : {1, 55, 56, 57, 63, 64, 65, 119, 120, 127, 128, 129, 1000, 4096}) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i * 37 + 11);  // all values
    EXPECT_EQ(falcrest::md5::DigestBytes(bytes), ReferenceMd5(bytes)) << length << " bytes";
  }
}
#endif

TEST(MD5Hash, DigestsTheAnsiBytesOfTheText) {
  ScopedCodePage page("1252");
  REQUIRE_CODE_PAGE(page);
  // "café €" in code page 1252 is 63 61 66 E9 20 80.
  EXPECT_EQ(falcrest::md5::DigestText("caf\xC3\xA9 \xE2\x82\xAC"),
            ReferenceMd5("caf\xE9 \x80"));
}

TEST(MD5Hash, UnmappableCharactersDigestAsQuestionMark) {
  ScopedCodePage page("1252");
  REQUIRE_CODE_PAGE(page);
  const std::string expected = ReferenceMd5("a?b??");
  for (const char* text : {"a\xE6\x97\xA5" "b\xE6\x9C\xAC\xE8\xAA\x9E",  // Japanese
                           "a\xD0\x96" "b\xF0\x9F\x98\x80",  // Cyrillic; beyond U+FFFF: 2 units
                           "a?b??"})
    EXPECT_EQ(falcrest::md5::DigestText(text), expected) << text;
}

TEST(MD5Hash, DoubleBytePageDigestsItsBytes) {
  ScopedCodePage page("932");
  REQUIRE_CODE_PAGE(page);
  // "日本語" in code page 932.
  EXPECT_EQ(falcrest::md5::DigestText("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"),
            ReferenceMd5("\x93\xFA\x96\x7B\x8C\xEA"));
}

TEST(MD5Hash, OverflowFromTheLengthBound) {
  std::string bytes(0x0FFFFFFE, 'a');  // the longest accepted
  EXPECT_EQ(falcrest::md5::DigestBytes(bytes), ReferenceMd5(bytes));
  bytes.push_back('a');
  for (int text = 0; text < 2; ++text) {
    try {
      text ? falcrest::md5::DigestText(bytes) : falcrest::md5::DigestBytes(bytes);
      ADD_FAILURE() << (text ? "DigestText" : "DigestBytes") << " accepted 268,435,455 bytes";
    } catch (const falcrest::Error& e) {
      EXPECT_EQ(e.Number(), 6);
      EXPECT_EQ(e.Description(), "Overflow");
    }
  }
}

}  // namespace
