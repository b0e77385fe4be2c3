// The SOAP endpoint in-process: exact answer texts, the reminder cycle, faults for bad requests.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "library/service/ServiceAddress.h"
#include "reference-service/PasswordDigest.h"
#include "reference-service/ReminderStore.h"
#include "reference-service/SoapEndpoint.h"

namespace reminder_service {
namespace {

const std::string kNs = falcrest::kServiceNamespace;
const std::string kEnvelopeStart =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>";
const std::string kEnvelopeEnd = "</soap:Body></soap:Envelope>";

std::string Request(const std::string& method, const std::string& inner, const std::string& ns = kNs) {
  return "<?xml version='1.0' encoding='utf-8'?><soap:Envelope xmlns:soap='http://schemas.xmlsoap.org/soap/envelope/' "
         "xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' xmlns:xsd='http://www.w3.org/2001/XMLSchema'>"
         "<soap:Body><" + method + " xmlns='" + ns + "'>" + inner + "</" + method + "></soap:Body></soap:Envelope>";
}

std::string License(const std::string& user = "demo", const std::string& digest = "FE01CE2A7FBAC8FAFAED7C982A04E229",
                    const std::string& client = "Tovern", const std::string& program = "Outlook") {
  return "<license><UserId>" + user + "</UserId><Password>" + digest + "</Password><ClientName>" + client +
         "</ClientName><ClientProgramName>" + program + "</ClientProgramName></license>";
}

std::string DeviceXml(const std::string& type, const std::string& address, const std::string& provider = "") {
  return "<Device><DeviceId>0</DeviceId><DeviceType>" + type + "</DeviceType><DeviceAddress>" + address +
         "</DeviceAddress><ServiceProviderName>" + provider +
         "</ServiceProviderName><Selected>false</Selected><LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime>"
         "<DeliveryStatus></DeliveryStatus><ExtendStatus></ExtendStatus></Device>";
}

struct ReminderXml {
  std::string eventId = "0";
  std::string start = "5/1/2024 10:00:00 AM";
  std::string subject = "Dentist";
  std::string description = "Main St";
  std::string remind = "5/1/2024 9:45:00 AM";
  std::string user = "demo";
  std::string devices = DeviceXml("HomeEmail", "demo@example.com");

  std::string Xml() const {
    return "<reminder><Event><EventId>" + eventId + "</EventId><ExternalId>0</ExternalId><EventDateTimeString>" + start +
           "</EventDateTimeString><Subject>" + subject + "</Subject><Description>" + description +
           "</Description><RepeatOption></RepeatOption><RepeatEndDate></RepeatEndDate></Event><RemindDateTime>" +
           remind + "</RemindDateTime><User><UserId>" + user +
           "</UserId><Password></Password><FirstName></FirstName><LastName></LastName><SignupEmail></SignupEmail>"
           "<TimeZone></TimeZone><Devices>" + devices + "</Devices></User><Contacts></Contacts></reminder>";
  }
};

std::string EventKey(const std::string& start, const std::string& subject, const std::string& user = "demo") {
  return "<eventKey><UserId>" + user + "</UserId><EventDateTimeString>" + start + "</EventDateTimeString><Subject>" +
         subject + "</Subject></eventKey>";
}

// The exact answer envelope with the given response element content.
std::string Answer(const std::string& method, const std::string& result) {
  return kEnvelopeStart + "<" + method + "Response xmlns=\"" + kNs + "\">" + result + "</" + method + "Response>" +
         kEnvelopeEnd;
}

class SoapEndpointTest : public testing::Test {
 protected:
  SoapEndpointTest()
      : dir_(MakeDir()), store_((dir_ / "service.db").string()), endpoint_(store_) {
    store_.SeedDemo();
    store_.AddMember(Member{"other", PasswordDigest("pw"), "", "", "o@example.com"});
    store_.SetDevice("other", Device{0, "Fax", "555-0100", ""});
  }
  ~SoapEndpointTest() override { std::filesystem::remove_all(dir_); }

  static std::filesystem::path MakeDir() {
    char pattern[] = "/tmp/soap-endpoint-test-XXXXXX";
    return std::filesystem::path(mkdtemp(pattern));
  }

  SoapReply Call(const std::string& method, const std::string& inner) {
    return endpoint_.Handle(SoapCall{Request(method, inner), kNs + method, "svc.test:81"});
  }
  SoapReply Create(const ReminderXml& r, const std::string& license = License()) {
    return Call("CreateReminder", license + r.Xml());
  }

  std::filesystem::path dir_;
  ReminderStore store_;
  SoapEndpoint endpoint_;
};

TEST_F(SoapEndpointTest, AnswersHaveTheExactForms) {
  const SoapReply sms = Call("GetOneMemberDevice", License() + "<deviceType>SMS</deviceType>");
  EXPECT_EQ(sms.status, 200);
  EXPECT_EQ(sms.body,
            Answer("GetOneMemberDevice",
                   "<GetOneMemberDeviceResult><DeviceId>2</DeviceId><DeviceType>SMS</DeviceType><DeviceAddress>5551234"
                   "</DeviceAddress><ServiceProviderName>Acme</ServiceProviderName><Selected>false</Selected>"
                   "<LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime><DeliveryStatus></DeliveryStatus>"
                   "<ExtendStatus></ExtendStatus></GetOneMemberDeviceResult>"));

  struct Row {
    const char* name;
    std::string method;
    std::string inner;
    std::string result;
  };
  const Row rows[] = {
      {"device the member lacks", "GetOneMemberDevice", License() + "<deviceType>Fax</deviceType>",
       "<GetOneMemberDeviceResult />"},
      {"unknown device type", "GetOneMemberDevice", License() + "<deviceType>Pager</deviceType>",
       "<GetOneMemberDeviceResult />"},
      {"device type compared exactly", "GetOneMemberDevice", License() + "<deviceType>homeemail</deviceType>",
       "<GetOneMemberDeviceResult />"},
      {"create", "CreateReminder", License() + ReminderXml().Xml(),
       "<CreateReminderResult><ErrorMessage></ErrorMessage><ReminderDetailUrl>http://svc.test:81/Reminder.aspx?id={token}"
       "</ReminderDetailUrl></CreateReminderResult>"},
      {"ids", "GetReminderIds", License() + EventKey("5/1/2024 10:00:00 AM", "Dentist"),
       "<GetReminderIdsResult><int>1</int></GetReminderIdsResult>"},
      {"ids of no event", "GetReminderIds", License() + EventKey("5/1/2024 10:00:00 AM", "dentist"),
       "<GetReminderIdsResult />"},
      {"modify", "ModifyReminderByEventId", License() + ReminderXml{"1"}.Xml(), "<ModifyReminderByEventIdResult />"},
      {"modify of no event", "ModifyReminderByEventId", License() + ReminderXml{"7"}.Xml(),
       "<ModifyReminderByEventIdResult>No reminder with event id 7</ModifyReminderByEventIdResult>"},
      {"delete", "DeleteReminderByEventId", License() + "<eventId>1</eventId>",
       "<DeleteReminderByEventIdResult>1</DeleteReminderByEventIdResult>"},
      {"delete again", "DeleteReminderByEventId", License() + "<eventId>1</eventId>",
       "<DeleteReminderByEventIdResult>0</DeleteReminderByEventIdResult>"},
      {"delete of a negative id", "DeleteReminderByEventId", License() + "<eventId>-5</eventId>",
       "<DeleteReminderByEventIdResult>0</DeleteReminderByEventIdResult>"},
  };
  for (const Row& row : rows) {
    const SoapReply reply = Call(row.method, row.inner);
    std::string result = row.result;
    // The detail link names event 1 by its random token.
    if (const size_t at = result.find("{token}"); at != std::string::npos && store_.FindEvent(1))
      result.replace(at, 7, store_.FindEvent(1)->detailToken);
    EXPECT_EQ(reply.status, 200) << row.name;
    EXPECT_EQ(reply.body, Answer(row.method, result)) << row.name;
  }
}

TEST_F(SoapEndpointTest, CycleKeepsEachMembersEventsApart) {
  ReminderXml r;
  const std::string first = Create(r).body, second = Create(r).body;
  // Each link carries its event's own token: 32 random hex digits, not the running number.
  ASSERT_EQ(store_.FindEvent(1)->detailToken.size(), 32u);
  EXPECT_NE(first.find("Reminder.aspx?id=" + store_.FindEvent(1)->detailToken + "<"), std::string::npos) << first;
  EXPECT_NE(second.find("Reminder.aspx?id=" + store_.FindEvent(2)->detailToken + "<"), std::string::npos) << second;
  EXPECT_NE(store_.FindEvent(1)->detailToken, store_.FindEvent(2)->detailToken);
  EXPECT_NE(Call("GetReminderIds", License() + EventKey(r.start, r.subject)).body.find("<int>1</int><int>2</int>"),
            std::string::npos);

  // Another member neither sees nor changes demo's events.
  const std::string other = License("other", PasswordDigest("pw"));
  EXPECT_NE(Call("GetReminderIds", other + EventKey(r.start, r.subject, "demo")).body.find("<GetReminderIdsResult />"),
            std::string::npos);
  EXPECT_NE(Call("GetReminderIds", other + EventKey(r.start, r.subject, "other")).body.find("<GetReminderIdsResult />"),
            std::string::npos);
  ReminderXml theirs{"1"};
  theirs.user = "other";
  theirs.devices = DeviceXml("Fax", "555-0100");
  EXPECT_NE(Call("ModifyReminderByEventId", other + theirs.Xml()).body.find("No reminder with event id 1<"),
            std::string::npos);
  EXPECT_NE(Call("DeleteReminderByEventId", other + "<eventId>1</eventId>").body.find(">0<"), std::string::npos);

  // Modify moves event 1 to a new key and replaces its devices.
  ReminderXml moved{"1", "5/2/2024 8:00:00 AM", "Dentist (moved)"};
  moved.devices = DeviceXml("SMS", "5551234", "Acme") + DeviceXml("Fax", "555-0199");
  EXPECT_NE(Call("ModifyReminderByEventId", License() + moved.Xml()).body.find("<ModifyReminderByEventIdResult />"),
            std::string::npos);
  const std::optional<StoredEvent> stored = store_.FindEvent(1);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->data.subject, "Dentist (moved)");
  ASSERT_EQ(stored->data.devices.size(), 2u);
  EXPECT_EQ(stored->data.devices[0].provider, "Acme");
  EXPECT_EQ(stored->data.devices[1].address, "555-0199");
  EXPECT_NE(Call("GetReminderIds", License() + EventKey(r.start, r.subject)).body.find("<int>2</int></"),
            std::string::npos);

  EXPECT_EQ(store_.DeleteEvent("demo", 1), 1);
  EXPECT_FALSE(store_.FindEvent(1));
  // Ids are never handed out twice, so a stale id cannot reach a newer event.
  ASSERT_EQ(Create(r).status, 200);
  EXPECT_TRUE(store_.FindEvent(3));
}

TEST_F(SoapEndpointTest, TextsComeBackByteForByte) {
  ReminderXml r;
  r.subject = "Fish &amp; Chips &lt;b&gt;";
  r.description = "Line one\r\nLine two &#13;\n<![CDATA[<raw> & ]]>  ";
  r.devices = DeviceXml("SMS", "555|1234", "A&amp;B|C");
  ASSERT_EQ(Create(r).status, 200);
  const std::optional<StoredEvent> stored = store_.FindEvent(1);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->data.subject, "Fish & Chips <b>");
  EXPECT_EQ(stored->data.description, "Line one\r\nLine two \r\n<raw> &   ");
  ASSERT_EQ(stored->data.devices.size(), 1u);
  EXPECT_EQ(stored->data.devices[0].address, "555|1234");
  EXPECT_EQ(stored->data.devices[0].provider, "A&B|C");
  EXPECT_NE(Call("GetReminderIds", License() + EventKey(r.start, r.subject)).body.find("<int>1</int>"),
            std::string::npos);

  store_.SetDevice("demo", Device{0, "Fax", "<fax> & co", ""});
  EXPECT_NE(Call("GetOneMemberDevice", License() + "<deviceType>Fax</deviceType>")
                .body.find("<DeviceAddress>&lt;fax&gt; &amp; co</DeviceAddress>"),
            std::string::npos);
}

TEST_F(SoapEndpointTest, UnusableRemindersAreAnsweredWithAMessage) {
  struct Row {
    const char* name;
    ReminderXml reminder;
    std::string message;
  };
  ReminderXml noDevices, otherUser, unknownType, noRemindTime;
  noDevices.devices = "";
  otherUser.user = "other";
  unknownType.devices = DeviceXml("Pager", "123");
  noRemindTime.remind = "";
  const Row rows[] = {
      {"no devices", noDevices, "The reminder has no device to deliver it to"},
      {"user differs from the license", otherUser,
       "The reminder's user \"other\" is not the member \"demo\" of the license"},
      {"unknown device type", unknownType,
       "Unknown device type \"Pager\"; the device types are HomeEmail, WorkEmail, HomePhone, WorkPhone, CellPhone, "
       "SMS, AIM, MSN, YAHOO, Fax"},
      {"no remind time", noRemindTime, "The reminder has no remind date-time"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Create(row.reminder).body,
              Answer("CreateReminder", "<CreateReminderResult><ErrorMessage>" + row.message +
                                           "</ErrorMessage><ReminderDetailUrl></ReminderDetailUrl></CreateReminderResult>"))
        << row.name;
    ReminderXml modify = row.reminder;
    modify.eventId = "1";
    EXPECT_EQ(Call("ModifyReminderByEventId", License() + modify.Xml()).body,
              Answer("ModifyReminderByEventId",
                     "<ModifyReminderByEventIdResult>" + row.message + "</ModifyReminderByEventIdResult>"))
        << row.name;
  }
  EXPECT_TRUE(store_.EventsOf("demo").empty());
}

TEST_F(SoapEndpointTest, BadRequestsAreFaults) {
  struct Row {
    const char* name;
    std::string body;
    std::optional<std::string> soapAction;
    std::string faultstring;
  };
  const std::string device = License() + "<deviceType>SMS</deviceType>";
  const Row rows[] = {
      {"empty body", "", std::nullopt, "The request is not well-formed XML"},
      {"garbage", "\x01\xff garbage <<", std::nullopt, "The request is not well-formed XML"},
      {"unclosed envelope", Request("GetOneMemberDevice", device).substr(0, 200), std::nullopt,
       "The request is not well-formed XML"},
      {"document type with entity",
       "<?xml version='1.0'?><!DOCTYPE x [<!ENTITY e 'boom'>]>" + Request("GetOneMemberDevice", device).substr(38),
       std::nullopt, "document type declaration"},
      {"not an envelope", "<Envelope><Body/></Envelope>", std::nullopt, "The request is not a SOAP 1.1 envelope"},
      {"envelope without body",
       "<s:Envelope xmlns:s='http://schemas.xmlsoap.org/soap/envelope/'></s:Envelope>", std::nullopt,
       "The SOAP envelope has no Body element"},
      {"empty body element",
       "<s:Envelope xmlns:s='http://schemas.xmlsoap.org/soap/envelope/'><s:Body></s:Body></s:Envelope>", std::nullopt,
       "The SOAP body names no web method"},
      {"unknown method", Request("DropAllTables", device), std::nullopt, "Unknown web method \"DropAllTables\""},
      {"wrong namespace", Request("GetOneMemberDevice", device, "http://example.com/"), std::nullopt,
       "must carry the namespace " + kNs},
      {"SOAPAction names another method", Request("GetOneMemberDevice", device), kNs + "CreateReminder",
       "The SOAPAction header \"" + kNs + "CreateReminder\" does not match the web method GetOneMemberDevice"},
      {"missing license", Request("GetOneMemberDevice", "<deviceType>SMS</deviceType>"), std::nullopt,
       "The request has no license element"},
      {"wrong password", Request("GetOneMemberDevice", License("demo", "FE01") + "<deviceType>SMS</deviceType>"),
       std::nullopt, "Invalid user ID or password"},
      {"plain password instead of digest",
       Request("GetOneMemberDevice", License("demo", "demo") + "<deviceType>SMS</deviceType>"), std::nullopt,
       "Invalid user ID or password"},
      {"unknown member", Request("GetOneMemberDevice", License("nobody") + "<deviceType>SMS</deviceType>"),
       std::nullopt, "Invalid user ID or password"},
      {"unknown client",
       Request("GetOneMemberDevice", License("demo", "FE01CE2A7FBAC8FAFAED7C982A04E229", "Other") + "<deviceType/>"),
       std::nullopt, "Unknown client \"Other\""},
      {"unknown program",
       Request("GetOneMemberDevice",
               License("demo", "FE01CE2A7FBAC8FAFAED7C982A04E229", "Tovern", "Word") + "<deviceType/>"),
       std::nullopt, "Unknown client program \"Word\""},
      {"missing parameter", Request("GetOneMemberDevice", License()), std::nullopt,
       "The request has no deviceType element"},
      {"event id not a number", Request("DeleteReminderByEventId", License() + "<eventId>abc</eventId>"),
       std::nullopt, "The eventId \"abc\" is not a whole number"},
      {"event id out of range",
       Request("DeleteReminderByEventId", License() + "<eventId>99999999999999999999</eventId>"), std::nullopt,
       "The eventId \"99999999999999999999\" is not a whole number"},
  };
  for (const Row& row : rows) {
    const SoapReply reply = endpoint_.Handle(SoapCall{row.body, row.soapAction, "svc.test"});
    EXPECT_EQ(reply.status, 500) << row.name;
    EXPECT_EQ(reply.body.rfind(kEnvelopeStart + "<soap:Fault><faultcode>soap:Client</faultcode><faultstring>", 0), 0u)
        << row.name << ": " << reply.body;
    EXPECT_NE(reply.body.find(row.faultstring), std::string::npos) << row.name << ": " << reply.body;
  }
}

TEST_F(SoapEndpointTest, SoapActionMayBeQuotedOrAbsent) {
  const std::string body = Request("GetOneMemberDevice", License() + "<deviceType>HomeEmail</deviceType>");
  for (const std::optional<std::string>& action :
       {std::optional<std::string>(), std::optional<std::string>(""), std::optional<std::string>(kNs + "GetOneMemberDevice"),
        std::optional<std::string>("\"" + kNs + "GetOneMemberDevice\"")}) {
    const SoapReply reply = endpoint_.Handle(SoapCall{body, action, "svc.test"});
    EXPECT_EQ(reply.status, 200) << (action ? *action : "(no header)");
    EXPECT_NE(reply.body.find("demo@example.com"), std::string::npos);
  }
}

TEST(PasswordDigestTest, MatchesTheClientsDigestOfWindows1252Bytes) {
  struct Row {
    const char* password;
    const char* digest;
  };
  const Row rows[] = {
      {"demo", "FE01CE2A7FBAC8FAFAED7C982A04E229"},
      {"", "D41D8CD98F00B204E9800998ECF8427E"},
      {"\xC3\xA9", "3406877694691DDD1DFB0ACA54681407"},      // é is byte E9
      {"\xE2\x82\xAC", "8D39DD7EEF115EA6975446EF4082951F"},  // € is byte 80
      {"\xE4\xB8\xAD", "D1457B72C3FB323A2671125AEF3EAB5D"},  // outside the code page: "?"
  };
  for (const Row& row : rows) EXPECT_EQ(PasswordDigest(row.password), row.digest) << row.password;
}

}  // namespace
}  // namespace reminder_service
