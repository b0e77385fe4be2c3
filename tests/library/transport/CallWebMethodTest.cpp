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
};

std::vector<AnswerRow> AnswerRows() {
  const std::string missingResponse = "The reminder service's answer has no CreateReminderResponse element";
  const std::string missingFaultString = "The reminder service's answer has no faultstring element";
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
  };
}

TEST(TransportAnswer, EachKindOfAnswerIsReadAsSpecified) {
  LoopbackServer server;
  WebService service;
  service.WebServiceURL = server.Url();
  for (const AnswerRow& row : AnswerRows()) {
    SCOPED_TRACE(row.name);
    server.Answer(row.answer, row.status);
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
