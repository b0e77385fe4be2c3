#include <gtest/gtest.h>
#ifndef _WIN32
#include <openssl/evp.h>
#endif

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

#include "CodePageEnv.h"
#include "library/digest/Base64Class.h"
#include "library/digest/MD5HashClass.h"
#include "library/support/Error.h"

namespace {

using falcrest::Base64Class;
using namespace std::string_literals;

// Standard Base64 with a CR LF after every 72nd character, the end included.
std::string Reference(const std::string& bytes) {
#ifdef _WIN32
  // MinGW has no OpenSSL: the standard encoding, written plainly.
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string plain;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t v = 0;
    for (size_t k = 0; k < 3; ++k) v = v << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0);
    for (size_t k = 0; k < 4; ++k) plain += k <= n ? kAlphabet[(v >> (18 - 6 * k)) & 63] : '=';
  }
#else
  std::string plain(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&plain[0]),
                          reinterpret_cast<const unsigned char*>(bytes.data()),
                          static_cast<int>(bytes.size()));
  plain.resize(n);
#endif
  std::string lines;
  for (size_t i = 0; i < plain.size(); i += 72) lines += plain.substr(i, 72) + "\r\n";
  if (plain.size() % 72 != 0) lines.resize(lines.size() - 2);
  return lines;
}

std::string Sample(size_t length) {
  std::string s;
  for (size_t i = 0; i < length; ++i) s.push_back(static_cast<char>(' ' + (i * 7) % 95));
  return s;
}

void ExpectError(const std::function<void()>& call, int64_t number, const std::string& source,
                 const std::string& description, const std::string& row) {
  try {
    call();
    ADD_FAILURE() << row << ": no error";
  } catch (const falcrest::Error& e) {
    EXPECT_EQ(e.Number(), number) << row;
    EXPECT_EQ(e.Source(), source) << row;
    EXPECT_EQ(e.Description(), description) << row;
  }
}

TEST(Base64Encode, PadsTheArgumentWithNuls) {
  const struct {
    std::string text, encoded, argumentAfter;
  } rows[] = {
      {"a", "YQ==", "a\0\0"s},
      {"ab", "YWI=", "ab\0"s},
      {"abc", "YWJj", "abc"},
      {"pass\0"s, "cGFzcwA=", "pass\0\0"s},
      {"\xC3\xA9", "6Q==", "\xC3\xA9\0\0"s},  // the byte E9 of code page 1252
  };
  ScopedCodePage page("1252");
  REQUIRE_CODE_PAGE(page);
  for (const auto& row : rows) {
    std::string argument = row.text;
    EXPECT_EQ(Base64Class().Encode64(argument), row.encoded) << row.text;
    EXPECT_EQ(argument, row.argumentAfter) << row.text;
  }
}

// Among them 53 bytes (71 characters, "=", CR LF: the padding steps back over the final
// CR LF), 54 (72 characters, CR LF) and 57 (72 characters, CR LF, 4 characters).
TEST(Base64Encode, EveryLengthMatchesStandardBase64InLines) {
  EXPECT_EQ(Reference(std::string(53, 'x')).substr(69), "Hg=\r\n");
  for (size_t length = 1; length <= 250; ++length) {
    std::string text = Sample(length);
    std::string argument = text;
    EXPECT_EQ(Base64Class().Encode64(argument), Reference(text)) << length << " bytes";
  }
}

TEST(Base64, RoundTripsGiveTheTextWithoutPadding) {
  ScopedCodePage page("1252");
  REQUIRE_CODE_PAGE(page);
  std::vector<std::string> texts = {"caf\xC3\xA9 \xE2\x82\xAC", "x", "\r\n\r\n", Sample(53)};
  for (size_t length = 1; length <= 150; length += 7) texts.push_back(Sample(length));
  for (const std::string& text : texts) {
    std::string argument = text;
    std::string encoded = Base64Class().Encode64(argument);
    EXPECT_EQ(Base64Class().Decode64(encoded), text) << text;
    EXPECT_EQ(encoded.find_first_of("\r\n"), std::string::npos) << "CR LF kept in " << text;
  }
}

TEST(Base64Decode, Rows) {
  const struct {
    std::string input, decoded, argumentAfter;
  } rows[] = {
      {"YWJj", "abc", "YWJj"},
      {"Y\rW\nJ\r\nj", "abc", "YWJj"},             // CR and LF wherever they stand
      {"YQ==", "a", "YQ=="},
      {"YQ==YWJj", "a\0\0a"s, "YQ==YWJj"},          // "==" anywhere drops two characters
      {"YW=jYWJj", "a`#ab", "YW=jYWJj"},            // one "=" anywhere drops one
      {"!!!!", "\0\0\0"s, "!!!!"},                 // outside the alphabet: value 0
  };
  for (const auto& row : rows) {
    std::string argument = row.input;
    EXPECT_EQ(Base64Class().Decode64(argument), row.decoded) << row.input;
    EXPECT_EQ(argument, row.argumentAfter) << row.input;
  }
}

TEST(Base64, Errors) {
  const std::string kInvalid = "Input string is not valid Base64.";
  const std::string kSubscript = "Subscript out of range";
  const struct {
    bool encode;
    std::string input;
    int64_t number;
    std::string source, description;
  } rows[] = {
      {false, "YWJjZ", 0x80040000, "MyDecode", kInvalid},
      {false, "YW\r\nJ", 0x80040000, "MyDecode", kInvalid},
      {false, "", 9, "Falcrest", kSubscript},
      {false, "\r\n", 9, "Falcrest", kSubscript},
      {true, "", 9, "Falcrest", kSubscript},
  };
  for (const auto& row : rows) {
    std::string argument = row.input;
    ExpectError([&] {
      row.encode ? Base64Class().Encode64(argument) : Base64Class().Decode64(argument);
    }, row.number, row.source, row.description,
                (row.encode ? "Encode64 of \"" : "Decode64 of \"") + row.input + "\"");
  }
}

TEST(Base64, DoubleByteCodePage) {
  ScopedCodePage page("932");
  REQUIRE_CODE_PAGE(page);
  const std::string nihongo = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";  // 3 characters, 6 bytes
  std::string argument = nihongo;
  std::string encoded = Base64Class().Encode64(argument);
  EXPECT_EQ(encoded, "k/qWe4zq");  // Base64 of 93 FA 96 7B 8C EA
  EXPECT_EQ(Base64Class().Decode64(encoded), nihongo);

  // One character of two bytes plus two NULs: four bytes, not whole groups of three.
  argument = "\xE6\x97\xA5";
  ExpectError([&] { Base64Class().Encode64(argument); }, 9, "Falcrest",
              "Subscript out of range", "Encode64 of one double-byte character");
  EXPECT_EQ(argument, "\xE6\x97\xA5\0\0"s);

  // Four characters but five bytes: not whole groups of four.
  argument = "\xEF\xBC\xA1" "BCD";  // fullwidth A, then ASCII
  ExpectError([&] { Base64Class().Decode64(argument); }, 9, "Falcrest",
              "Subscript out of range", "Decode64 with a double-byte character");
}

// The page digests the typed password; the add-in digests Decode64 of its stored form.
TEST(Base64, StoredPasswordDigestsLikeTheTypedOne) {
  ScopedCodePage page("1252");
  REQUIRE_CODE_PAGE(page);
  for (const std::string typed : {"secret", "p\xC3\xA4\xE6\x97\xA5ss", "\xF0\x9F\x98\x80x"}) {
    std::string argument = typed;
    std::string stored = Base64Class().Encode64(argument);
    EXPECT_EQ(falcrest::MD5HashClass().ComputeHash(Base64Class().Decode64(stored)),
              falcrest::MD5HashClass().ComputeHash(typed))
        << typed;
  }
}

}  // namespace
