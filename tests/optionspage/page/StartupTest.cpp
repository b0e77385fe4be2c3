// Start-up of the settings page against a loopback server with canned answers, and
// against no server at all.
#include <memory>

#include "PageFixture.h"
#include "library/constants/DeviceTypes.h"
#include "library/service/ServiceAddress.h"
#include "support/LoopbackServer.h"

namespace page_test {
namespace {

using falcrest::test::LoopbackServer;
using orvane::kDeviceRows;

std::string Envelope(const std::string& body) {
  return "<?xml version='1.0' encoding='utf-8'?><soap:Envelope "
         "xmlns:soap='http://schemas.xmlsoap.org/soap/envelope/'><soap:Body>" +
         body + "</soap:Body></soap:Envelope>";
}

// Every type answered with the same device.
std::string DeviceAnswer(const std::string& address) {
  return Envelope(
      "<GetOneMemberDeviceResponse xmlns='http://reminder.tarvanel.com/'><GetOneMemberDeviceResult>"
      "<DeviceId>7</DeviceId><DeviceType>HomeEmail</DeviceType><DeviceAddress>" + address +
      "</DeviceAddress><ServiceProviderName>Acme</ServiceProviderName><Selected>false</Selected>"
      "<LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime><DeliveryStatus></DeliveryStatus>"
      "<ExtendStatus></ExtendStatus></GetOneMemberDeviceResult></GetOneMemberDeviceResponse>");
}

// Answers that close their connection, so that stopping the server waits for no idle one.
falcrest::test::CannedAnswer Closing(const std::string& body) {
  falcrest::test::CannedAnswer answer;
  answer.body = body;
  answer.headers = {{"Connection", "close"}};
  return answer;
}

const std::string kAllTypes = "HomeEmail,WorkEmail,HomePhone,WorkPhone,CellPhone,SMS,AIM,MSN,YAHOO,Fax";

using StartupTest = PageTest;

TEST_F(StartupTest, FirstOpeningWritesTheDefaultsInOrderAndAsksNothing) {
  ASSERT_FALSE(orvane::OpenSettings().KeyExist());
  orvane::ReminderSetting page;

  const std::string text = RegistryText();
  const size_t user = text.find("\"UserID\"=\"\"");
  const size_t password = text.find("\"Password\"=\"\"");
  const size_t url = text.find("\"WebServiceURL\"=");
  const size_t device = text.find("\"Device\"=\"\"");
  ASSERT_NE(device, std::string::npos) << text;
  EXPECT_TRUE(user < password && password < url && url < device) << text;
  EXPECT_EQ(Stored("WebServiceURL"), falcrest::kDefaultServiceUrl);

  EXPECT_EQ(page.UserIdText(), "");
  EXPECT_EQ(page.PasswordText(), "");
  for (size_t row = 0; row < kDeviceRows.size(); ++row) {
    EXPECT_FALSE(page.Layout().CheckBox(row).enabled) << kDeviceRows[row].deviceType;
    EXPECT_EQ(page.Layout().AddressLabel(row).caption, "") << kDeviceRows[row].deviceType;
  }
  EXPECT_EQ(page.Layout().At("lblSMSProvider").caption, "");
  EXPECT_EQ(page.Layout().At("lblHyperlink").caption, "Sign Up for a free account");
  EXPECT_EQ(log_, Log{});  // the default service is never asked, so nothing can fail
}

TEST_F(StartupTest, HalfAnAccountMakesNoRequest) {
  LoopbackServer server;
  server.Answer(Closing(DeviceAnswer("x@example.com")));
  const struct {
    const char* user;
    const char* password;
  } rows[] = {{"demo", ""}, {"", "demo"}};
  for (const auto& row : rows) {
    Store(row.user, row.password, server.Url(), "HomeEmail");
    orvane::ReminderSetting page;
    EXPECT_EQ(server.Requests().size(), 0u) << row.user << "/" << row.password;
    EXPECT_EQ(page.Layout().At("lblHyperlink").caption, "Sign Up for a free account") << row.user;
    EXPECT_FALSE(page.IsChecked(kHomeEmail)) << row.user;
  }
}

TEST_F(StartupTest, AsksForEachTypeOnceInTableOrder) {
  LoopbackServer server;
  server.Answer(Closing(Envelope("<soap:Fault><faultcode>soap:Client</faultcode>"
                         "<faultstring>Unknown member</faultstring></soap:Fault>")));
  Store("demo", "demo", server.Url(), "HomeEmail");
  orvane::ReminderSetting page;

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), kDeviceRows.size());
  for (size_t row = 0; row < kDeviceRows.size(); ++row) {
    const std::string element = std::string("<deviceType>") + kDeviceRows[row].deviceType + "</deviceType>";
    EXPECT_NE(requests[row].body.find(element), std::string::npos) << "request " << row << " lacks " << element;
  }
  // A refusal is no error: every row stays disabled, the account still gets its link.
  EXPECT_EQ(log_, Log{});
  for (size_t row = 0; row < kDeviceRows.size(); ++row) EXPECT_FALSE(page.Layout().CheckBox(row).enabled) << row;
  EXPECT_EQ(page.Layout().At("lblHyperlink").caption, "Set Up Devices");
}

TEST_F(StartupTest, DeviceWithoutAddressIsEnabledButNeverPreChecked) {
  LoopbackServer server;
  server.Answer(Closing(DeviceAnswer("")));
  Store("demo", "demo", server.Url(), kAllTypes);
  orvane::ReminderSetting page;
  for (size_t row = 0; row < kDeviceRows.size(); ++row) {
    EXPECT_TRUE(page.Layout().CheckBox(row).enabled) << kDeviceRows[row].deviceType;
    EXPECT_FALSE(page.IsChecked(row)) << kDeviceRows[row].deviceType;
  }
  EXPECT_EQ(page.Layout().At("lblSMSProvider").caption, "(Acme)");
}

TEST_F(StartupTest, FailedStartUpKeepsTheDesignLinkAndTheStoredDevices) {
  std::string deadUrl;
  {
    LoopbackServer gone;
    deadUrl = gone.Url();
  }
  Store("demo", "demo", deadUrl, "HomeEmail,SMS");
  {
    auto page = OpenSitedPage();
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_EQ(log_[0].rfind("Add-In Error (critical): ", 0), 0u) << log_[0];
    EXPECT_NE(log_[0].find("127.0.0.1"), std::string::npos) << log_[0];
    EXPECT_TRUE(page->StartupFailed());
    EXPECT_EQ(page->UserIdText(), "demo");
    const orvane::Control& link = page->Layout().At("lblHyperlink");
    EXPECT_EQ(link.caption, "Sign Up for a free account");
    EXPECT_EQ(link.left, 3960);

    // The link leads to sign-up whatever the boxes hold.
    log_.clear();
    page->lblHyperlink_Click();
    EXPECT_EQ(log_, Log{"OpenUrl " + deadUrl.substr(0, deadUrl.find('/', 7)) + "/Signup.aspx"});

  }

  // The rows were never loaded: applying writes the account but leaves "Device" as it was
  // stored, whatever its form; writing it back would trim or retype it.
  const char* const lines[] = {
      "\"Device\"=\"HomeEmail,SMS\"",
      "\"Device\"=\" HomeEmail,SMS \"",
      "\"Device\"=hex(2):46,61,78,00",
      "",  // no value at all
  };
  for (const std::string line : lines) {
    SCOPED_TRACE(line);
    Store("demo", "demo", deadUrl, "HomeEmail,SMS");
    SetDeviceLine(line);
    auto page = OpenSitedPage();
    ASSERT_TRUE(page->StartupFailed());
    page->SetUserIdText("demo2");
    page->Apply();
    EXPECT_EQ(Stored("UserID"), "demo2");
    EXPECT_EQ(DeviceLine(), line);
    EXPECT_FALSE(page->Dirty());
  }
}

}  // namespace
}  // namespace page_test
