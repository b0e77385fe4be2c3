#include <gtest/gtest.h>

#include "library/support/XmlText.h"

namespace falcrest {
namespace {

TEST(XmlText, EscapesOnlyMarkupCharacters) {
  struct Row { const char* text; const char* escaped; };
  const Row rows[] = {
      {"", ""},
      {"Fish & Chips", "Fish &amp; Chips"},
      {"<b>", "&lt;b&gt;"},
      {"]]>", "]]&gt;"},
      {"&amp;", "&amp;amp;"},
      {"\"q\" 'a'", "\"q\" 'a'"},
      {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x97\xA5\xE6\x9C\xAC"},
  };
  for (const Row& row : rows) EXPECT_EQ(EscapeXml(row.text), row.escaped) << row.text;
  EXPECT_EQ(XmlElement("Subject", "a<b"), "<Subject>a&lt;b</Subject>");
  EXPECT_EQ(XmlElement("Subject", ""), "<Subject></Subject>");
}

}  // namespace
}  // namespace falcrest
