#include <gtest/gtest.h>

#include <string>

#include "library/service/xml/XmlDocument.h"
#include "library/support/Error.h"

namespace falcrest::xml {
namespace {

std::unique_ptr<Document> Load(const std::string& text, const std::string& context = "The XML text") {
  auto doc = NewDocument(context);
  doc->LoadXml(text);
  return doc;
}

const char* const kEnvelope =
    "<?xml version='1.0' encoding='utf-8'?>"
    "<soap:Envelope xmlns:soap='http://schemas.xmlsoap.org/soap/envelope/'>"
    "<soap:Body><GetReminderIdsResponse xmlns='http://tarvanel.example/'>"
    "<GetReminderIdsResult><int>4</int><int>7</int></GetReminderIdsResult>"
    "</GetReminderIdsResponse></soap:Body></soap:Envelope>";

TEST(XmlDocument, ParseErrorLeavesEmptyDocument) {
  struct Row { const char* name; std::string text; };
  const Row rows[] = {
      {"unclosed", "<a><b>x</b>"},
      {"empty text", ""},
      {"plain text", "not xml at all"},
      {"two roots", "<a>1</a><b>2</b>"},
      {"doctype", "<!DOCTYPE a [<!ENTITY e 'boom'>]><a>&e;</a>"},
      {"doctype without entities", "<!DOCTYPE a><a>x</a>"},
      {"too deep", [] {
         std::string s;
         for (int i = 0; i < 100000; ++i) s += "<d>";
         s += "t";
         for (int i = 0; i < 100000; ++i) s += "</d>";
         return s;
       }()},
  };
  for (const Row& row : rows) {
    auto doc = Load(row.text);
    EXPECT_EQ(doc->Text(), "") << row.name;
    EXPECT_FALSE(doc->SelectSingleNode("//a").Exists()) << row.name;
    EXPECT_FALSE(doc->SelectSingleNode("//d").Exists()) << row.name;
    EXPECT_TRUE(doc->SelectNodes("//a/b").empty()) << row.name;
  }
}

TEST(XmlDocument, ReloadAfterGoodDocumentEmptiesIt) {
  auto doc = NewDocument();
  doc->LoadXml("<a>x</a>");
  Node kept = doc->SelectSingleNode("//a");
  doc->LoadXml("<a>");
  EXPECT_FALSE(doc->SelectSingleNode("//a").Exists());
  EXPECT_EQ(kept.Text(), "x");  // a node found before stays readable
}

TEST(XmlDocument, DeepButAllowedNestingIsRead) {
#ifdef _WIN32
  const int levels = 250;  // MSXML under Wine refuses more than 256 levels
#else
  const int levels = 900;
#endif
  std::string s;
  for (int i = 0; i < levels; ++i) s += "<d>";
  s += "t";
  for (int i = 0; i < levels; ++i) s += "</d>";
  auto doc = Load(s);
  EXPECT_EQ(doc->Text(), "t");
  EXPECT_EQ(doc->SelectNodes("//d/d").size(), static_cast<size_t>(levels - 1));
}

TEST(XmlDocument, MissingNodeRaisesNamedError) {
  auto doc = Load("<Device><DeviceType>SMS</DeviceType></Device>", "The device record");
  Node missing = doc->SelectSingleNode("//DeviceId");
  EXPECT_FALSE(missing.Exists());
  for (int which = 0; which < 2; ++which) {
    try {
      which == 0 ? missing.Text() : missing.Xml();
      ADD_FAILURE() << "no error, read " << which;
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), 91);
      EXPECT_EQ(e.Description(), "The device record has no DeviceId element (looked for //DeviceId)");
    }
  }
}

TEST(XmlDocument, PathsMatchNamesAsWrittenPrefixIncluded) {
  struct Row { const char* path; bool found; };
  const Row rows[] = {
      {"/soap:Envelope/soap:Body/GetReminderIdsResponse/GetReminderIdsResult", true},
      {"/soap:Envelope/soap:Body/GetReminderIdsResponse", true},
      {"/Envelope/Body", false},                // unprefixed does not match a prefixed element
      {"/s:Envelope", false},                   // another prefix does not match
      {"//GetReminderIdsResult", true},         // default namespace does not hinder a match
      {"//soap:Body", true},
      {"//Body", false},
      {"//GetReminderIdsResult/int", true},
      {"//soap:Body/GetReminderIdsResponse", true},
      {"//Fault", false},
  };
  auto doc = Load(kEnvelope);
  for (const Row& row : rows) {
    EXPECT_EQ(doc->SelectSingleNode(row.path).Exists(), row.found) << row.path;
  }
  auto other = Load("<s:Envelope xmlns:s='http://schemas.xmlsoap.org/soap/envelope/'><s:Body/></s:Envelope>");
  EXPECT_FALSE(other->SelectSingleNode("/soap:Envelope/soap:Body").Exists());
  EXPECT_TRUE(other->SelectSingleNode("/s:Envelope/s:Body").Exists());
}

TEST(XmlDocument, SelectNodesInDocumentOrder) {
  auto doc = Load(
      "<r><Devices><Device>a</Device><Other>x</Other><Device>b</Device></Devices>"
      "<Device>loose</Device><Devices><Device>c</Device></Devices></r>");
  std::vector<Node> nodes = doc->SelectNodes("//Devices/Device");
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[0].Text(), "a");
  EXPECT_EQ(nodes[1].Text(), "b");
  EXPECT_EQ(nodes[2].Text(), "c");
  EXPECT_EQ(doc->SelectSingleNode("//Device").Text(), "a");
  EXPECT_TRUE(doc->SelectNodes("//Devices/Nothing").empty());
}

TEST(XmlDocument, TextConcatenatesDescendantsExactly) {
  struct Row { const char* name; const char* xml; const char* path; std::string text; };
  const Row rows[] = {
      {"nested", "<a>x<b>y<c>z</c></b>w</a>", "//a", "xyzw"},
      {"cdata", "<a>1<![CDATA[<&>]]>2</a>", "//a", "1<&>2"},
      {"entities", "<a>Fish &amp; Chips &lt;&gt; &quot;&apos;&#233;</a>", "//a", "Fish & Chips <> \"'\xC3\xA9"},
      {"blanks kept", "<a>  x  </a>", "//a", "  x  "},
      // Text made only of whitespace is dropped at load; whitespace beside other text is not.
      {"only whitespace", "<a> \t\r\n</a>", "//a", ""},
      {"indented", "<a>\n  <b>x</b>\n  <c> y </c>\n</a>", "//a", "x y "},
      {"blank cdata kept", "<a><![CDATA[ ]]></a>", "//a", " "},
#ifdef _WIN32
      // MSXML ends lines with LF, as XML parsers do.
      {"line ends", "<a>1\r\n2\r3</a>", "//a", "1\n2\n3"},
#else
      {"cr lf kept", "<a>1\r\n2\r3</a>", "//a", "1\r\n2\r3"},
#endif
      {"empty", "<a></a>", "//a", ""},
      {"empty tag", "<a/>", "//a", ""},
      {"comment skipped", "<a>1<!-- c -->2</a>", "//a", "12"},
      {"utf-8", "<a>\xE6\x97\xA5\xE6\x9C\xAC</a>", "//a", "\xE6\x97\xA5\xE6\x9C\xAC"},
  };
  for (const Row& row : rows) {
    auto doc = Load(row.xml);
    EXPECT_EQ(doc->SelectSingleNode(row.path).Text(), row.text) << row.name;
    EXPECT_EQ(doc->Text(), row.text) << row.name;
  }
  EXPECT_EQ(Load(kEnvelope)->Text(), "47");
}

TEST(XmlDocument, XmlOfNodeIsRawStartToEnd) {
  auto doc = Load(
      "<?xml version='1.0'?>\n<r>\n  <Device id=\"1\">\n    <DeviceId>5</DeviceId>\n    "
      "<DeviceAddress>a &amp; b &lt;c&gt;</DeviceAddress><Empty> </Empty>\n  </Device>\n</r>");
  EXPECT_EQ(doc->SelectSingleNode("//Device").Xml(),
            "<Device id=\"1\"><DeviceId>5</DeviceId><DeviceAddress>a &amp; b &lt;c&gt;</DeviceAddress>"
            "<Empty/></Device>");
  // What Xml gives reads back to the same text.
  auto again = Load(doc->SelectSingleNode("//Device").Xml());
  EXPECT_EQ(again->SelectSingleNode("//DeviceAddress").Text(), "a & b <c>");
}

TEST(XmlDocument, BadPathRaisesError) {
  auto doc = Load("<a/>");
  EXPECT_THROW(doc->SelectSingleNode("//["), Error);
}

}  // namespace
}  // namespace falcrest::xml
