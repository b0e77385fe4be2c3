#include <gtest/gtest.h>

#include <string>

#include "CodePageEnv.h"
#include "library/digest/CodePage.h"
#include "library/support/Error.h"

namespace {

namespace codepage = falcrest::codepage;
using namespace std::string_literals;

TEST(CodePage, Utf16Length) {
  const struct {
    std::string text;
    size_t units;
  } rows[] = {
      {"", 0}, {"abc", 3}, {"a\0b"s, 3}, {"\xC3\xA9", 1}, {"\xE6\x97\xA5", 1},
      {"\xF0\x9F\x98\x80", 2},  // a surrogate pair
  };
  for (const auto& row : rows) {
    EXPECT_EQ(codepage::Utf16Length(row.text), row.units) << row.text;
    EXPECT_EQ(codepage::IsAscii(row.text), row.text.size() == row.units) << row.text;
  }
  EXPECT_FALSE(codepage::IsAscii("twelve bytes\xC3\xA9"));
}

TEST(CodePage, Conversions) {
  const struct {
    const char* page;
    std::string text, bytes;
  } rows[] = {
      {"1252", "plain ASCII\0!"s, "plain ASCII\0!"s},
      {"1252", "\xE2\x82\xAC\xC3\xBF", "\x80\xFF"},
      // The five bytes without a character of their own stand for the control characters.
      {"1252", "\xC2\x81\xC2\x8D\xC2\x8Fx\xC2\x90\xC2\x9D", "\x81\x8D\x8Fx\x90\x9D"},
      {"1251", "\xD0\x96", "\xC6"},
      {"932", "\\~\xE6\x97\xA5\xEF\xBD\xB1", "\\~\x93\xFA\xB1"},  // half-width katakana: 1 byte
      {"936", "\xE4\xB8\xAD", "\xD6\xD0"},
      {"949", "\xED\x95\x9C", "\xC7\xD1"},
      {"950", "\xE4\xB8\xAD", "\xA4\xA4"},
      {"65001", "\xE6\x97\xA5", "\xE6\x97\xA5"},
  };
  for (const auto& row : rows) {
    ScopedCodePage page(row.page);
    if (!page.Active()) continue;
    EXPECT_EQ(codepage::ToAnsi(row.text), row.bytes) << row.page << " " << row.text;
    EXPECT_EQ(codepage::FromAnsi(row.bytes), row.text) << row.page << " " << row.text;
  }
}

// One "?" per character the page cannot hold, and per byte that starts no character.
TEST(CodePage, Replacements) {
  const struct {
    const char* page;
    bool toAnsi;
    std::string input, output;
  } rows[] = {
      {"1252", true, "a\xE6\x97\xA5" "b\xF0\x9F\x98\x80" "c", "a?b??c"},
      {"1252", true, "a\xFF" "b\xE6\x97", "a?b?"},  // broken UTF-8, and cut at the end
#ifdef _WIN32
      // The system marks a broken double-byte sequence with the page's own default character,
      // U+30FB.
      {"932", true, "\xC3\xA9\xE6\x97\xA5", "?\x93\xFA"},
      {"932", false, "\x93\xFA\x93", "\xE6\x97\xA5\xE3\x83\xBB"},  // a lead byte at the end
      {"932", false, "\x93\x00x"s, "\xE3\x83\xBB\0x"s},           // a lead byte without a trail byte
#else
      {"932", true, "\xC3\xA9\xE6\x97\xA5", "?\x93\xFA"},
      {"932", false, "\x93\xFA\x93", "\xE6\x97\xA5?"},  // a lead byte at the end
      {"932", false, "\x93\x00x"s, "?\0x"s},            // a lead byte without a trail byte
#endif
  };
  for (const auto& row : rows) {
    ScopedCodePage page(row.page);
    if (!page.Active()) continue;
    std::string got = row.toAnsi ? codepage::ToAnsi(row.input) : codepage::FromAnsi(row.input);
    EXPECT_EQ(got, row.output) << row.page << (row.toAnsi ? " ToAnsi " : " FromAnsi ")
                               << row.input;
  }
}

#ifdef _WIN32
// The runs for other pages skip what is not theirs: this one makes sure the run has its page.
TEST(CodePage, TheRunHasThePageItWasStartedFor) {
  const char* page = std::getenv("TEST_ANSI_CODEPAGE");
  if (page == nullptr) GTEST_SKIP() << "no page asked for";
  EXPECT_TRUE(ScopedCodePage(page).Active()) << "asked for " << page << ", active " << GetACP();
}
#else
TEST(CodePage, UnsupportedPageIsAClearError) {
  for (const char* value : {"1234", "cp1252", "-1"}) {
    ScopedCodePage page(value);
    try {
      codepage::ToAnsi("abc");
      ADD_FAILURE() << value << " accepted";
    } catch (const falcrest::Error& e) {
      EXPECT_NE(e.Description().find(std::string("\"") + value + "\""), std::string::npos)
          << e.Description();
    }
  }
}
#endif

}  // namespace
