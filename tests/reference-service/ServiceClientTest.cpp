// The real service driven by the library's client: the reminder cycle, refusals, many
// clients at once, and bad requests that must not bring the service down.
#include <httplib.h>

#include <atomic>
#include <set>
#include <thread>

#include "ServiceFixture.h"

namespace falcrest::test {
namespace {

const std::string kStart = "5/1/2024 10:00:00 AM";

TEST_F(ServiceTest, CreateLookUpModifyDeleteCycle) {
  const std::shared_ptr<DeviceType> email = client.GetOneMemberDevice(demo, "HomeEmail");
  ASSERT_TRUE(email);
  EXPECT_EQ(email->DeviceType, "HomeEmail");
  EXPECT_EQ(email->DeviceAddress, "demo@example.com");
  EXPECT_GT(email->DeviceId, 0);
  EXPECT_FALSE(email->Selected);
  const std::shared_ptr<DeviceType> sms = client.GetOneMemberDevice(demo, "SMS");
  ASSERT_TRUE(sms);
  EXPECT_EQ(sms->DeviceAddress, "5551234");
  EXPECT_EQ(sms->ServiceProviderName, "Acme");

  const std::string subject = "Fish & Chips <with> friends";
  const ReminderType reminder = MakeReminder(kStart, subject, "demo",
                                             {{"HomeEmail", "demo@example.com", ""}, {"SMS", "5551234", "Acme"}}, 0,
                                             "Harbour Inn\r\nDetail: bring cash");
  const std::shared_ptr<ResultType> created = client.CreateReminder(demo, reminder);
  ASSERT_TRUE(created);
  EXPECT_EQ(created->ErrorMessage, "");
  const std::string link = service.BaseUrl() + "/Reminder.aspx?id=";
  EXPECT_EQ(created->ReminderDetailUrl.compare(0, link.size(), link), 0) << created->ReminderDetailUrl;
  EXPECT_EQ(created->ReminderDetailUrl.size(), link.size() + 32) << "a random token, not the event id";
  EXPECT_EQ(client.GetReminderIds(demo, MakeKey("demo", kStart, subject)), 1);

  // A second event with the same key: the first id still comes first.
  ASSERT_TRUE(client.CreateReminder(demo, reminder));
  EXPECT_EQ(client.GetReminderIds(demo, MakeKey("demo", kStart, subject)), 1);

  const ReminderType moved = MakeReminder("5/2/2024 11:00:00 AM", "Moved", "demo", {{"SMS", "5551234", "Acme"}}, 1);
  EXPECT_EQ(client.ModifyReminderByEventId(demo, moved), "");
  EXPECT_EQ(client.GetReminderIds(demo, MakeKey("demo", kStart, subject)), 2);
  EXPECT_EQ(client.GetReminderIds(demo, MakeKey("demo", "5/2/2024 11:00:00 AM", "Moved")), 1);
  EXPECT_EQ(client.ModifyReminderByEventId(demo, MakeReminder(kStart, "x", "demo", {{"Fax", "1", ""}}, 99)),
            "No reminder with event id 99");

  EXPECT_EQ(client.DeleteReminderByEventId(demo, 1), 1);
  EXPECT_EQ(client.DeleteReminderByEventId(demo, 1), 0);
  EXPECT_EQ(client.GetReminderIds(demo, MakeKey("demo", "5/2/2024 11:00:00 AM", "Moved")), -1);
  EXPECT_EQ(client.DeleteReminderByEventId(demo, 2), 1);
  EXPECT_EQ(client.GetReminderIds(demo, MakeKey("demo", kStart, subject)), -1);
}

TEST_F(ServiceTest, RefusedCredentialsGiveTheEmptyResults) {
  ASSERT_TRUE(client.CreateReminder(demo, MakeReminder(kStart, "Kept", "demo", {{"Fax", "1", ""}})));
  LicenseType wrongClient = demo;
  wrongClient.ClientName = "Someone";
  LicenseType wrongProgram = demo;
  wrongProgram.ClientProgramName = "Word";
  LicenseType plainPassword = demo;
  plainPassword.Password = "demo";
  struct Row {
    const char* name;
    LicenseType license;
  };
  const Row rows[] = {{"wrong password", MakeLicense("demo", "wrong")},
                      {"unknown member", MakeLicense("nobody", "demo")},
                      {"empty license", LicenseType{}},
                      {"password not digested", plainPassword},
                      {"wrong client name", wrongClient},
                      {"wrong program name", wrongProgram}};
  for (const Row& row : rows) {
    EXPECT_EQ(client.GetOneMemberDevice(row.license, "HomeEmail"), nullptr) << row.name;
    EXPECT_EQ(client.CreateReminder(row.license, MakeReminder(kStart, "x", "demo", {{"Fax", "1", ""}})), nullptr)
        << row.name;
    EXPECT_EQ(client.GetReminderIds(row.license, MakeKey("demo", kStart, "Kept")), -1) << row.name;
    EXPECT_EQ(client.DeleteReminderByEventId(row.license, 1), -1) << row.name;
    EXPECT_EQ(client.ModifyReminderByEventId(row.license, MakeReminder(kStart, "x", "demo", {{"Fax", "1", ""}}, 1)),
              "")
        << row.name;
  }
  // Nothing was changed by the refused calls.
  EXPECT_EQ(client.GetReminderIds(demo, MakeKey("demo", kStart, "Kept")), 1);
}

TEST_F(ServiceTest, DeviceTypesTheMemberLacksGiveNoDevice) {
  for (const char* type : {"Fax", "WorkEmail", "YAHOO", "Pager", "homeemail", "", "HomeEmail "})
    EXPECT_EQ(client.GetOneMemberDevice(demo, type), nullptr) << "\"" << type << "\"";
}

TEST_F(ServiceTest, UnusableReminderIsReportedInTheResult) {
  const std::shared_ptr<ResultType> none = client.CreateReminder(demo, MakeReminder(kStart, "x", "demo", {}));
  ASSERT_TRUE(none);
  EXPECT_EQ(none->ErrorMessage, "The reminder has no device to deliver it to");
  EXPECT_EQ(none->ReminderDetailUrl, "");
  const std::shared_ptr<ResultType> other =
      client.CreateReminder(demo, MakeReminder(kStart, "x", "someone", {{"Fax", "1", ""}}));
  ASSERT_TRUE(other);
  EXPECT_EQ(other->ErrorMessage, "The reminder's user \"someone\" is not the member \"demo\" of the license");
}

TEST_F(ServiceTest, ManyClientsAtOnce) {
  constexpr int kThreads = 8;
  constexpr int kPerThread = 8;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t]() {
      WebService own;
      own.WebServiceURL = service.EndpointUrl();
      try {
        for (int i = 0; i < kPerThread; ++i) {
          const std::string subject = "Meeting " + std::to_string(t) + "-" + std::to_string(i);
          const auto result = own.CreateReminder(demo, MakeReminder(kStart, subject, "demo", {{"Fax", "1", ""}}));
          if (!result || !result->ErrorMessage.empty() || !own.GetOneMemberDevice(demo, "SMS")) ++failures;
        }
      } catch (const std::exception&) {
        ++failures;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(failures.load(), 0);

  std::set<int32_t> ids;
  for (int t = 0; t < kThreads; ++t)
    for (int i = 0; i < kPerThread; ++i)
      ids.insert(client.GetReminderIds(demo, MakeKey("demo", kStart, "Meeting " + std::to_string(t) + "-" + std::to_string(i))));
  EXPECT_EQ(ids.size(), static_cast<size_t>(kThreads * kPerThread));
  EXPECT_EQ(*ids.begin(), 1);
  EXPECT_EQ(*ids.rbegin(), kThreads * kPerThread);
}

TEST_F(ServiceTest, BadRequestsAreFaultsAndTheServiceStaysUp) {
  httplib::Client raw("127.0.0.1", service.Port());
  const std::string endpoint = "/WebService/OutlookPlugin.asmx";
  const std::string envelopeStart =
      "<soap:Envelope xmlns:soap='http://schemas.xmlsoap.org/soap/envelope/'><soap:Body>";
  const std::string license =
      "<license><UserId>demo</UserId><Password>FE01CE2A7FBAC8FAFAED7C982A04E229</Password><ClientName>Tovern"
      "</ClientName><ClientProgramName>Outlook</ClientProgramName></license>";
  std::string laughs = "<?xml version='1.0'?><!DOCTYPE lolz [<!ENTITY lol 'lol'>";
  for (int i = 1; i < 10; ++i)
    laughs += "<!ENTITY lol" + std::to_string(i) + " '" + std::string(10, '&') + "'>";
  laughs += "]><lolz>&lol9;</lolz>";
  struct Row {
    const char* name;
    std::string body;
    std::string faultstring;
  };
  const Row rows[] = {
      {"garbage", "this is not XML at all", "not well-formed XML"},
      {"binary", std::string("\0\x01\x02\xfe\xff", 5), "not well-formed XML"},
      {"entity expansion", laughs, "document type declaration"},
      {"missing license",
       envelopeStart + "<GetOneMemberDevice xmlns='http://reminder.tarvanel.com/'><deviceType>SMS</deviceType>"
                       "</GetOneMemberDevice></soap:Body></soap:Envelope>",
       "The request has no license element"},
      {"unknown web method",
       envelopeStart + "<FormatDisk xmlns='http://reminder.tarvanel.com/'>" + license +
           "</FormatDisk></soap:Body></soap:Envelope>",
       "Unknown web method \"FormatDisk\""},
  };
  for (const Row& row : rows) {
    const auto answer = raw.Post(endpoint.c_str(), row.body, "text/xml");
    ASSERT_TRUE(answer) << row.name;
    EXPECT_EQ(answer->status, 500) << row.name;
    EXPECT_EQ(answer->get_header_value("Content-Type"), "text/xml; charset=utf-8") << row.name;
    EXPECT_NE(answer->body.find("<soap:Fault><faultcode>soap:Client</faultcode><faultstring>"), std::string::npos)
        << row.name;
    EXPECT_NE(answer->body.find(row.faultstring), std::string::npos) << row.name << ": " << answer->body;
  }

  const auto huge = raw.Post(endpoint.c_str(), std::string(2 * 1024 * 1024, '<'), "text/xml");
  ASSERT_TRUE(huge);
  EXPECT_EQ(huge->status, 413);
  const auto wrongVerb = raw.Put(endpoint.c_str(), "x", "text/xml");
  ASSERT_TRUE(wrongVerb);
  EXPECT_GE(wrongVerb->status, 400);

  // The library's fault detection reads this service's faults as refusals.
  std::string response;
  EXPECT_FALSE(client.CallWebMethod("GetOneMemberDevice", "<GetOneMemberDevice xmlns='http://reminder.tarvanel.com/'>"
                                    "<deviceType>SMS</deviceType></GetOneMemberDevice>", response));
  EXPECT_EQ(response, "The request has no license element");

  EXPECT_TRUE(service.Running());
  ASSERT_TRUE(client.GetOneMemberDevice(demo, "SMS"));
  EXPECT_EQ(service.Stop(), 0) << "the service stops cleanly on SIGTERM";
}

}  // namespace
}  // namespace falcrest::test
