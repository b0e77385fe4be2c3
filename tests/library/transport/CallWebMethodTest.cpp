// CallWebMethod against a loopback service: the exact request, and how each kind of answer
// is read (result, empty answer, fault, and answers that cannot be read).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/LoopbackServer.h"
#include "SoapText.h"
#include "library/service/WebService.h"
#include "library/support/Error.h"

namespace falcrest::test {
namespace {

const std::string kBody = "<CreateReminder xmlns='http://reminder.tarvanel.com/'><x>Z\xC3\xBCrich &amp; more</x></CreateReminder>";

TEST(TransportRequest, IsTheExactEnvelopeWithItsTwoHeaders) {
  LoopbackServer server;
  server.Answer(ResultAnswer("CreateReminder", ""));
  WebService service;
  service.WebServiceURL = server.Url();
  std::string response = "stale";

  EXPECT_TRUE(service.CallWebMethod("CreateReminder", kBody, response));

  CapturedRequest r = server.LastRequest();
  EXPECT_EQ(r.method, "POST");
  EXPECT_EQ(r.target, "/WebService/OutlookPlugin.asmx");
  EXPECT_EQ(r.version, "HTTP/1.1");
  EXPECT_EQ(r.body, kRequestHead + kBody + kRequestTail);
  EXPECT_EQ(r.HeaderCount("Content-Type"), 1u);
  EXPECT_EQ(r.Header("Content-Type"), "text/xml");
  EXPECT_EQ(r.HeaderCount("SOAPAction"), 1u);
  EXPECT_EQ(r.Header("SOAPAction"), "http://reminder.tarvanel.com/CreateReminder");
  EXPECT_EQ(r.Header("Content-Length"), std::to_string(r.body.size()));
  EXPECT_EQ(r.HeaderCount("Expect"), 0u);
  EXPECT_EQ(r.HeaderCount("Transfer-Encoding"), 0u);
}

TEST(TransportRequest, LargeBodyGoesOutWithoutWaitingForContinue) {
  LoopbackServer server;
  server.Answer(ResultAnswer("ModifyReminderByEventId", ""));
  WebService service;
  service.WebServiceURL = server.Url();
  const std::string body = "<ModifyReminderByEventId>" + std::string(2 * 1024 * 1024, 'a') + "</ModifyReminderByEventId>";
  std::string response;

  EXPECT_TRUE(service.CallWebMethod("ModifyReminderByEventId", body, response));

  CapturedRequest r = server.LastRequest();
  EXPECT_EQ(r.HeaderCount("Expect"), 0u);
  EXPECT_EQ(r.body, kRequestHead + body + kRequestTail);
  EXPECT_EQ(r.Header("SOAPAction"), "http://reminder.tarvanel.com/ModifyReminderByEventId");
}

struct AnswerRow {
  const char* name;
  int status;
  std::string answer;
  const char* method;
  bool normal;           // expected flag, when no error
  std::string response;  // expected response, when no error
  std::string error;     // expected start of the missing-node description; empty: no error
  std::string content_type = "text/xml; charset=utf-8";
};

// The UTF-8 text in UTF-16, little- or big-endian, after `mark` (a byte-order mark or nothing).
std::string Utf16(const std::string& utf8, bool big_endian, const std::string& mark) {
  std::string out = mark;
  const auto put = [&](uint32_t unit) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += big_endian ? high : low;
    out += big_endian ? low : high;
  };
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    uint32_t c = n == 1 ? lead : lead & (0x3F >> (n - 1));
    for (size_t k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += n;
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

// A service's answer written in UTF-16, as its declaration then says.
std::string Utf16Answer(const std::string& answer, bool big_endian, const std::string& mark) {
  std::string text = answer;
  text.replace(text.find("encoding=\"utf-8\""), 16, "encoding=\"utf-16\"");
  return Utf16(text, big_endian, mark);
}

std::vector<AnswerRow> AnswerRows() {
  const std::string missingResponse = "The reminder service's answer has no CreateReminderResponse element";
  const std::string missingFaultString = "The reminder service's answer has no faultstring element";
  const std::string zurich = "<ErrorMessage>Z\xC3\xBCrich \xF0\x9F\x98\x80</ErrorMessage>";
  const std::string zurichResult = "<CreateReminderResult>" + zurich + "</CreateReminderResult>";
  return {
      {"result", 200,
       ResultAnswer("CreateReminder", "<ErrorMessage>none</ErrorMessage><ReminderDetailUrl>http://x/1</ReminderDetailUrl>"),
       "CreateReminder", true,
       "<CreateReminderResult><ErrorMessage>none</ErrorMessage><ReminderDetailUrl>http://x/1</ReminderDetailUrl>"
       "</CreateReminderResult>",
       ""},
      {"ids result path", 200, ResultAnswer("GetReminderIds", "<int>12</int><int>15</int>"), "GetReminderIds", true,
       "<GetReminderIdsResult><int>12</int><int>15</int></GetReminderIdsResult>", ""},
      {"empty result element", 200, ResultAnswer("CreateReminder", ""), "CreateReminder", true, "", ""},
      {"result of empty children only", 200,
       ResultAnswer("CreateReminder", "<ErrorMessage></ErrorMessage><ReminderDetailUrl/>"), "CreateReminder", true, "",
       ""},
      {"empty response element", 200, SoapAnswer("<CreateReminderResponse xmlns=\"http://reminder.tarvanel.com/\"/>"),
       "CreateReminder", true, "", ""},
      {"fault with status 500", 500, FaultAnswer("Server was unable to process request. --> Bad license"),
       "CreateReminder", false, "Server was unable to process request. --> Bad license", ""},
      {"fault with status 200", 200, FaultAnswer("No such event"), "DeleteReminderByEventId", false, "No such event",
       ""},
      {"fault string with markup", 500, FaultAnswer("Fish &amp; <b>Chips</b>"), "CreateReminder", false,
       "Fish & Chips", ""},
      {"empty fault string", 500, FaultAnswer(""), "CreateReminder", false, "", ""},
      {"fault without faultstring", 500, SoapAnswer("<soap:Fault><faultcode>soap:Server</faultcode></soap:Fault>"),
       "CreateReminder", false, "", missingFaultString},
      {"fault marker in another letter case", 500, SoapAnswer("<Soap:FAULT><faultstring>x</faultstring></Soap:FAULT>"),
       "CreateReminder", false, "", missingFaultString},
      {"fault marker inside a comment", 200,
       "<!-- <soap:Fault> -->" + ResultAnswer("CreateReminder", "<ErrorMessage>x</ErrorMessage>"), "CreateReminder",
       false, "", missingFaultString},
      {"fault under another prefix", 500,
       "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><s:Fault><faultstring>x"
       "</faultstring></s:Fault></s:Body></s:Envelope>",
       "CreateReminder", true, "", missingResponse},
      {"normal answer under another prefix", 200,
       "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><CreateReminderResponse>"
       "<CreateReminderResult>x</CreateReminderResult></CreateReminderResponse></s:Body></s:Envelope>",
       "CreateReminder", true, "", missingResponse},
      {"response with text but no result", 200,
       SoapAnswer("<CreateReminderResponse xmlns=\"http://reminder.tarvanel.com/\">odd</CreateReminderResponse>"),
       "CreateReminder", true, "", "The reminder service's answer has no CreateReminderResult element"},
      {"answer of another method", 200, ResultAnswer("GetReminderIds", "<int>3</int>"), "CreateReminder", true, "",
       missingResponse},
      {"html error page", 500, "<html><head><title>Runtime Error</title></head><body>Server Error</body></html>",
       "CreateReminder", true, "", missingResponse},
      {"not xml at all", 502, "Bad gateway: upstream went away", "CreateReminder", true, "", missingResponse},
      {"empty body", 200, "", "CreateReminder", true, "", missingResponse},
      // Whitespace between elements counts for nothing: indented answers read as compact ones.
      {"indented empty result", 200,
       SoapAnswer("\n  <CreateReminderResponse xmlns=\"http://reminder.tarvanel.com/\">\n    <CreateReminderResult>\n"
                  "      <ErrorMessage />\n    </CreateReminderResult>\n  </CreateReminderResponse>\n"),
       "CreateReminder", true, "", ""},
      {"indented result", 200, ResultAnswer("CreateReminder", "\r\n\t" + zurich + "\r\n"), "CreateReminder", true,
       zurichResult, ""},
      // The encoding: the byte-order mark, else the Content-Type's charset, else UTF-8.
      {"utf-16 with its mark", 200, Utf16Answer(ResultAnswer("CreateReminder", zurich), false, "\xFF\xFE"),
       "CreateReminder", true, zurichResult, "", "text/xml; charset=utf-8"},
      {"utf-16 big-endian with its mark", 200, Utf16Answer(ResultAnswer("CreateReminder", zurich), true, "\xFE\xFF"),
       "CreateReminder", true, zurichResult, "", "text/xml"},
      {"utf-8 with its mark", 200, "\xEF\xBB\xBF" + ResultAnswer("CreateReminder", zurich), "CreateReminder", true,
       zurichResult, "", "text/xml; charset=utf-16"},
      {"utf-16 big-endian by its charset", 200, Utf16Answer(ResultAnswer("CreateReminder", zurich), true, ""),
       "CreateReminder", true, zurichResult, "", "text/xml; Charset=\"UTF-16BE\""},
      {"utf-16 fault by its charset", 500, Utf16Answer(FaultAnswer("Z\xC3\xBCrich"), false, ""), "CreateReminder",
       false, "Z\xC3\xBCrich", "", "text/xml; charset=utf-16"},
  };
}

TEST(TransportAnswer, ResultsEmptyAnswersAndFaultsAreToldApart) {
  LoopbackServer server;
  WebService service;
  service.WebServiceURL = server.Url();
  for (const AnswerRow& row : AnswerRows()) {
    SCOPED_TRACE(row.name);
    CannedAnswer answer;
    answer.status = row.status;
    answer.body = row.answer;
    answer.content_type = row.content_type;
    server.Answer(answer);
    std::string response = "untouched";
    if (row.error.empty()) {
      bool normal = service.CallWebMethod(row.method, "<M/>", response);
      EXPECT_EQ(normal, row.normal);
      EXPECT_EQ(response, row.response);
      continue;
    }
    try {
      service.CallWebMethod(row.method, "<M/>", response);
      ADD_FAILURE() << "no error raised";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), error_number::kMissingObject);
      EXPECT_EQ(e.Description().rfind(row.error, 0), 0u) << e.Description();
    }
    EXPECT_EQ(response, "untouched") << "the response is left alone on an error";
  }
}

}  // namespace
}  // namespace falcrest::test
