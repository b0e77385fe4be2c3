// The page and its terminal view against the reference service's demo member: a home
// e-mail device demo@example.com and an SMS device 5551234 through Acme.
#include <memory>
#include <sstream>

#include "PageFixture.h"
#include "host/pageview/SettingsPageControl.h"
#include "support/ServiceProcess.h"

namespace page_test {
namespace {

using orvane::kDeviceRows;

class ServiceTest : public PageTest {
 protected:
  static void SetUpTestSuite() { service_ = std::make_unique<falcrest::test::ServiceProcess>(); }
  static void TearDownTestSuite() { service_.reset(); }

  static std::unique_ptr<falcrest::test::ServiceProcess> service_;
};
std::unique_ptr<falcrest::test::ServiceProcess> ServiceTest::service_;

TEST_F(ServiceTest, ShowsTheAccountsDevicesAndKeepsOnlyThoseOfTheStoredList) {
  Store("demo", "demo", service_->EndpointUrl(), "HomeEmail,Fax");
  auto page = OpenSitedPage();
  EXPECT_EQ(log_, Log{});

  for (size_t row = 0; row < kDeviceRows.size(); ++row) {
    const std::string type = kDeviceRows[row].deviceType;
    const std::string address = type == "HomeEmail" ? "demo@example.com" : type == "SMS" ? "5551234" : "";
    EXPECT_EQ(page->Layout().AddressLabel(row).caption, address) << type;
    EXPECT_EQ(page->Layout().CheckBox(row).enabled, !address.empty()) << type;
    EXPECT_EQ(page->IsChecked(row), type == "HomeEmail") << type;
  }
  EXPECT_EQ(page->Layout().At("lblSMSProvider").caption, "(Acme)");

  const orvane::Control& link = page->Layout().At("lblHyperlink");
  EXPECT_EQ(link.caption, "Set Up Devices");
  EXPECT_LT(link.width, 2175);  // the shorter caption, right-aligned with the frame
  EXPECT_EQ(link.left + link.width, 120 + 6015);

  page->Apply();
  EXPECT_EQ(Stored("Device"), "HomeEmail");  // the service has no fax device
  EXPECT_EQ(log_, Log{});

  page->lblHyperlink_Click();
  EXPECT_EQ(log_, Log{"OpenUrl " + service_->BaseUrl() + "/EditDevice.aspx"});
}

TEST_F(ServiceTest, TerminalViewAndCommands) {
  Store("demo", "demo", service_->EndpointUrl(), "SMS");
  host::SettingsPageControl control;
  control.InitProperties(site_);
  std::ostringstream out;
  control.Render(out);
  EXPECT_EQ(out.str(),
            "  User ID:  demo\n"
            "  Password: ****\n"
            "  Devices\n"
            "    [ ] Home Email      HomeEmail demo@example.com\n"
            "    [-] Work Email      WorkEmail (disabled)\n"
            "    [-] Home Phone      HomePhone (disabled)\n"
            "    [-] Work Phone      WorkPhone (disabled)\n"
            "    [-] Cell Phone      CellPhone (disabled)\n"
            "    [x] Text Messaging  SMS       5551234 (Acme)\n"
            "    [-] AIM             AIM       (disabled)\n"
            "    [-] MSN Messenger   MSN       (disabled)\n"
            "    [-] Yahoo Messenger YAHOO     (disabled)\n"
            "    [-] Fax             Fax       (disabled)\n"
            "  Link: Set Up Devices\n");

  const struct {
    std::vector<std::string> words;
    bool known;
    const char* says;  // the start of what the command writes
  } commands[] = {
      {{"tick", "homeemail"}, true, ""},
      {{"untick", "SMS"}, true, ""},
      {{"tick", "Fax"}, true, "The Fax box is disabled"},
      {{"tick", "Pager"}, true, "No device type named \"Pager\""},
      {{"type", "UserID", "new", "user"}, true, ""},
      {{"type", "Password"}, true, ""},
      {{"hover", "5", "5"}, true, ""},
      {{"dance"}, false, ""},
  };
  for (const auto& command : commands) {
    std::ostringstream said;
    EXPECT_EQ(control.Command(command.words, said), command.known) << command.words[0];
    EXPECT_EQ(said.str().rfind(command.says, 0), 0u) << command.words[0] << ": " << said.str();
  }
  EXPECT_EQ(log_, (Log{"OnStatusChange", "OnStatusChange", "OnStatusChange", "OnStatusChange", "SetCursor hand",
                       "LeftButton down"}));
  const orvane::ReminderSetting& page = control.Setting();
  EXPECT_EQ(page.UserIdText(), "new user");
  EXPECT_EQ(page.PasswordText(), "");
  EXPECT_TRUE(page.IsChecked(kHomeEmail));
  EXPECT_FALSE(page.IsChecked(kSms));

  std::ostringstream shown;
  EXPECT_TRUE(control.Command({"show"}, shown));
  EXPECT_NE(shown.str().find("  Password: \n"), std::string::npos) << shown.str();
  EXPECT_NE(shown.str().find("  Link: Set Up Devices (underlined)\n"), std::string::npos) << shown.str();
}

}  // namespace
}  // namespace page_test
