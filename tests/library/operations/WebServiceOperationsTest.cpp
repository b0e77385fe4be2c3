// The five service operations against a loopback service: the method bodies they send,
// the fixed empty results of faults and empty answers, and the reading of real answers.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "../transport/SoapText.h"
#include "support/LoopbackServer.h"
#include "library/service/WebService.h"
#include "library/support/Error.h"

namespace falcrest::test {
namespace {

const std::string kNamespace = "http://reminder.tarvanel.com/";

class OperationsTest : public ::testing::Test {
 protected:
  OperationsTest() {
    service_.WebServiceURL = server_.Url();
    license_.UserId = "42";
    license_.Password = "5F4DCC3B5AA765D61D8327DEB882CF99";
    license_.ClientName = "Tovern";
    license_.ClientProgramName = "Outlook";

    auto event = std::make_shared<CalendarEventType>();
    event->EventId = 77;
    event->EventDateTime = "3/14/2025 9:30:00 AM";
    event->Subject = "Fish & Chips";
    reminder_.EventPropty = event;
    reminder_.RemindDateTime = "3/14/2025 9:15:00 AM";
    auto member = std::make_shared<MemberType>();
    member->UserId = "42";
    member->Devices = RecordArray<DeviceType>(0, 0);
    member->Devices.Set(0, std::make_shared<DeviceType>());
    reminder_.User = member;

    key_.UserId = "42";
    key_.EventDateTime = "3/14/2025 9:30:00 AM";
    key_.Subject = "Standup";
  }

  // The envelope body the server received, without the envelope around it.
  std::string SentBody() {
    std::string body = server_.LastRequest().body;
    EXPECT_EQ(body.rfind(kRequestHead, 0), 0u);
    EXPECT_GE(body.size(), kRequestHead.size() + kRequestTail.size());
    return body.substr(kRequestHead.size(), body.size() - kRequestHead.size() - kRequestTail.size());
  }

  static std::string Start(const std::string& method) { return "<" + method + " xmlns='" + kNamespace + "'>"; }

  LoopbackServer server_;
  WebService service_;
  LicenseType license_;
  ReminderType reminder_;
  CalendarEventKeyType key_;
};

TEST_F(OperationsTest, BodiesAreTheMethodElementWithItsParametersInOrder) {
  struct Row {
    const char* method;
    std::function<void()> call;
    std::string parameters;  // between the method's start and end tags
  } rows[] = {
      {"GetOneMemberDevice", [&] { service_.GetOneMemberDevice(license_, "HomeEmail"); },
       license_.Serialize("license") + "<deviceType>HomeEmail</deviceType>"},
      {"GetOneMemberDevice", [&] { service_.GetOneMemberDevice(license_, "A<B>&C"); },
       license_.Serialize("license") + "<deviceType>A&lt;B&gt;&amp;C</deviceType>"},
      {"CreateReminder", [&] { service_.CreateReminder(license_, reminder_); },
       license_.Serialize("license") + reminder_.Serialize("reminder")},
      {"GetReminderIds", [&] { service_.GetReminderIds(license_, key_); },
       license_.Serialize("license") + key_.Serialize("eventKey")},
      {"DeleteReminderByEventId", [&] { service_.DeleteReminderByEventId(license_, -5); },
       license_.Serialize("license") + "<eventId>-5</eventId>"},
      {"DeleteReminderByEventId", [&] { service_.DeleteReminderByEventId(license_, 2147483647); },
       license_.Serialize("license") + "<eventId>2147483647</eventId>"},
      {"ModifyReminderByEventId", [&] { service_.ModifyReminderByEventId(license_, reminder_); },
       license_.Serialize("license") + reminder_.Serialize("reminder")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.method);
    server_.Answer(ResultAnswer(row.method, ""));
    row.call();
    EXPECT_EQ(SentBody(), Start(row.method) + row.parameters + "</" + row.method + ">");
    EXPECT_EQ(server_.LastRequest().Header("SOAPAction"), kNamespace + row.method);
  }
}

TEST_F(OperationsTest, ParameterElementsAreLowerCamelCase) {
  // Independent of the records' own forms: the parameter names the service binds to.
  server_.Answer(ResultAnswer("CreateReminder", ""));
  service_.CreateReminder(license_, reminder_);
  std::string body = SentBody();
  EXPECT_EQ(body.rfind(Start("CreateReminder") + "<license>", 0), 0u) << body;
  EXPECT_NE(body.find("</license><reminder>"), std::string::npos) << body;
  EXPECT_NE(body.find("Fish &amp; Chips"), std::string::npos) << body;

  server_.Answer(ResultAnswer("GetReminderIds", ""));
  service_.GetReminderIds(license_, key_);
  EXPECT_NE(SentBody().find("</license><eventKey>"), std::string::npos);
}

TEST_F(OperationsTest, FaultsAndEmptyAnswersGiveTheFixedEmptyResults) {
  struct Answer {
    const char* name;
    std::function<std::string(const std::string& method)> text;
    int status;
  } answers[] = {
      {"fault", [](const std::string&) { return FaultAnswer("Invalid license"); }, 500},
      {"empty result", [](const std::string& m) { return ResultAnswer(m, ""); }, 200},
      {"indented empty children",
       [](const std::string& m) { return ResultAnswer(m, "\n      <ErrorMessage/>\n      <int></int>\n    "); }, 200},
  };
  for (const Answer& a : answers) {
    SCOPED_TRACE(a.name);
    server_.Answer(a.text("GetOneMemberDevice"), a.status);
    EXPECT_EQ(service_.GetOneMemberDevice(license_, "SMS"), nullptr);
    server_.Answer(a.text("CreateReminder"), a.status);
    EXPECT_EQ(service_.CreateReminder(license_, reminder_), nullptr);
    server_.Answer(a.text("GetReminderIds"), a.status);
    EXPECT_EQ(service_.GetReminderIds(license_, key_), -1);
    server_.Answer(a.text("DeleteReminderByEventId"), a.status);
    EXPECT_EQ(service_.DeleteReminderByEventId(license_, 9), -1);
    server_.Answer(a.text("ModifyReminderByEventId"), a.status);
    EXPECT_EQ(service_.ModifyReminderByEventId(license_, reminder_), "");
  }
}

TEST_F(OperationsTest, AnswersAreReadIntoRecordsNumbersAndTexts) {
  server_.Answer(ResultAnswer("GetOneMemberDevice",
                              "<DeviceId>8</DeviceId><DeviceType>SMS</DeviceType><DeviceAddress>5551234</DeviceAddress>"
                              "<ServiceProviderName>Acme</ServiceProviderName><Selected>true</Selected>"
                              "<LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime>"
                              "<DeliveryStatus>ok</DeliveryStatus><ExtendStatus></ExtendStatus>"));
  std::shared_ptr<DeviceType> device = service_.GetOneMemberDevice(license_, "SMS");
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->DeviceId, 8);
  EXPECT_EQ(device->DeviceAddress, "5551234");
  EXPECT_EQ(device->ServiceProviderName, "Acme");
  EXPECT_TRUE(device->Selected);

  server_.Answer(ResultAnswer("CreateReminder", "<ErrorMessage>Quota reached</ErrorMessage>"
                                                "<ReminderDetailUrl>http://s/r/5</ReminderDetailUrl>"));
  std::shared_ptr<ResultType> result = service_.CreateReminder(license_, reminder_);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->ErrorMessage, "Quota reached");
  EXPECT_EQ(result->ReminderDetailUrl, "http://s/r/5");

  server_.Answer(ResultAnswer("GetReminderIds", "<int>12</int><int>15</int>"));
  EXPECT_EQ(service_.GetReminderIds(license_, key_), 12);

  server_.Answer(ResultAnswer("DeleteReminderByEventId", "1"));
  EXPECT_EQ(service_.DeleteReminderByEventId(license_, 12), 1);

  server_.Answer(ResultAnswer("ModifyReminderByEventId", "OK"));
  EXPECT_EQ(service_.ModifyReminderByEventId(license_, reminder_), "OK");
}

TEST_F(OperationsTest, UnreadableNumbersAreConversionErrors) {
  struct Row {
    const char* name;
    const char* method;
    std::string result;
    int64_t number;
  } rows[] = {
      {"id not a number", "GetReminderIds", "<int>abc</int>", error_number::kTypeMismatch},
      {"id beyond 32 bits", "GetReminderIds", "<int>2147483648</int>", error_number::kOverflow},
      {"text without an int", "GetReminderIds", "<long>3</long>", error_number::kMissingObject},
      {"delete answer not a number", "DeleteReminderByEventId", "deleted", error_number::kTypeMismatch},
      {"delete answer beyond 32 bits", "DeleteReminderByEventId", "-3000000000", error_number::kOverflow},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    server_.Answer(ResultAnswer(row.method, row.result));
    try {
      if (std::string(row.method) == "GetReminderIds")
        service_.GetReminderIds(license_, key_);
      else
        service_.DeleteReminderByEventId(license_, 1);
      ADD_FAILURE() << "no error raised";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), row.number) << e.Description();
    }
  }
}

}  // namespace
}  // namespace falcrest::test
