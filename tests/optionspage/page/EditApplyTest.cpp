// Edits, Dirty and the site, and what Apply stores and says.
#include "PageFixture.h"

namespace page_test {
namespace {

using EditApplyTest = PageTest;

std::string Encoded(std::string text) { return falcrest::Base64Class().Encode64(text); }

const char* const kReopen =
    "Add-In Message (information): Please close Options and reopen it to get all devices setting from tarvanel";

TEST_F(EditApplyTest, OnlyRealEditsReachTheSiteAndOnlyOnceItIsGiven) {
  orvane::ReminderSetting page;
  page.SetUserIdText("early");  // before the site: ignored
  EXPECT_FALSE(page.Dirty());
  EXPECT_EQ(log_, Log{});

  page.InitProperties(site_);
  EXPECT_TRUE(page.PageState().SiteReady);
  EXPECT_FALSE(page.Dirty());
  EXPECT_EQ(log_, Log{});

  // Typing the text a box already holds changes nothing: Apply stays greyed.
  page.SetUserIdText("early");
  page.SetPasswordText("");
  EXPECT_FALSE(page.Dirty());
  EXPECT_EQ(log_, Log{});

  page.SetUserIdText("demo");
  EXPECT_TRUE(page.Dirty());
  page.SetPasswordText("secret");
  page.SetPasswordText("secret");
  EXPECT_FALSE(page.ClickCheckBox(kHomeEmail));  // disabled: no click, no call
  EXPECT_EQ(log_, (Log{"OnStatusChange", "OnStatusChange"}));
}

TEST_F(EditApplyTest, ApplyStoresTheBoxesAsTyped) {
  const struct {
    const char* user;
    const char* password;
    const char* storedUser;
    std::string storedPassword;
  } rows[] = {
      {"4294967296", "pw", "4294967296", Encoded("pw")},  // beyond 32 bits: kept as text
      {"demo", "", "demo", ""},                              // an emptied password
      {"demo", "secret", "demo", Encoded("secret")},
      {"  spaced  ", "secret", "spaced", Encoded("secret")},
  };
  for (const auto& row : rows) {
    Store("", "", "", "");
    auto page = OpenSitedPage();
    log_.clear();
    page->SetUserIdText(row.user);
    page->SetPasswordText(row.password);
    page->Apply();
    EXPECT_EQ(Stored("UserID"), row.storedUser) << row.user;
    EXPECT_EQ(Stored("Password"), row.storedPassword) << row.user;
    EXPECT_FALSE(page->Dirty()) << row.user;
    EXPECT_EQ(log_.back(), kReopen) << row.user;
  }
}

TEST_F(EditApplyTest, PageWithoutAccountWritesAnEmptyDeviceList) {
  Store("", "", "", "HomeEmail,Fax");
  auto page = OpenSitedPage();
  page->Apply();
  EXPECT_EQ(Stored("Device"), "");
  EXPECT_EQ(Stored("WebServiceURL"), "");  // never rewritten
  EXPECT_EQ(log_, Log{});
}

TEST_F(EditApplyTest, ReopenMessageFollowsTheAccountShownAtStartUp) {
  auto page = OpenSitedPage();
  page->SetUserIdText("demo");
  log_.clear();
  page->Apply();
  EXPECT_EQ(log_, Log{kReopen});
  page->Apply();  // the page still compares with what it showed when built
  EXPECT_EQ(log_, (Log{kReopen, kReopen}));
  EXPECT_EQ(page->PageState().LoadedUserID, "");

  auto again = OpenSitedPage();
  again->SetPasswordText("typo");
  again->SetPasswordText("");
  log_.clear();
  again->Apply();
  EXPECT_EQ(log_, Log{});
}

TEST_F(EditApplyTest, FailedApplyLeavesThePageDirty) {
  auto page = OpenSitedPage();
  page->SetUserIdText("demo");
  std::filesystem::remove(path_);
  std::filesystem::create_directory(path_);  // the registry file cannot be written now
  log_.clear();
  page->Apply();
  ASSERT_EQ(log_.size(), 1u);
  EXPECT_EQ(log_[0].rfind("Add-In Error (critical): ", 0), 0u) << log_[0];
  EXPECT_TRUE(page->Dirty());
}

}  // namespace
}  // namespace page_test
