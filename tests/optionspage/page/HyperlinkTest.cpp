// The link: hover and leave, release, placement and the page it opens.
#include "PageFixture.h"

namespace page_test {
namespace {

using HyperlinkTest = PageTest;

TEST_F(HyperlinkTest, HoverUnderlinesAndLeaveRestores) {
  orvane::ReminderSetting page;
  const orvane::Control& link = page.Layout().At("lblHyperlink");
  const struct {
    int x;
    int y;
    Log calls;
    bool hot;
  } moves[] = {
      {0, 0, {"SetCursor hand", "LeftButton down"}, true},
      {link.width - 1, link.height - 1, {"SetCursor hand"}, true},
      {link.width, 10, {"SetCursor arrow", "LeftButton up"}, false},
      {10, -1, {"SetCursor arrow"}, false},
      {10, link.height, {"SetCursor arrow"}, false},
      {-1, 10, {"SetCursor arrow"}, false},
  };
  for (const auto& move : moves) {
    log_.clear();
    page.lblHyperlink_MouseMove(move.x, move.y);
    EXPECT_EQ(log_, move.calls) << "move to " << move.x << "," << move.y;
    EXPECT_EQ(page.PageState().HyperlinkHot, move.hot) << "move to " << move.x << "," << move.y;
    EXPECT_EQ(link.fontUnderline, move.hot) << "move to " << move.x << "," << move.y;
  }

  page.lblHyperlink_MouseMove(5, 5);
  log_.clear();
  page.lblHyperlink_MouseUp();
  EXPECT_EQ(log_, Log{"LeftButton up"});
  EXPECT_FALSE(page.PageState().HyperlinkHot);
  EXPECT_FALSE(link.fontUnderline);
}

TEST_F(HyperlinkTest, SignUpOpensOnTheServicesWebHost) {
  const struct {
    const char* serviceUrl;
    const char* opened;
  } rows[] = {
      {"http://127.0.0.1:8080/WebService/OutlookPlugin.asmx", "http://127.0.0.1:8080/Signup.aspx"},
      {"https://reminders.example.org/ws.asmx?x=1", "https://reminders.example.org/Signup.aspx"},
      {"", "http://www.tarvanel.com/Signup.aspx"},
  };
  for (const auto& row : rows) {
    Store("", "", row.serviceUrl, "");
    orvane::ReminderSetting page;
    log_.clear();
    page.lblHyperlink_Click();
    EXPECT_EQ(log_, Log{std::string("OpenUrl ") + row.opened}) << row.serviceUrl;
  }
}

// Whatever a click runs into ends as one "Add-In Error" message, never in the client.
TEST_F(HyperlinkTest, AnythingThrownBecomesTheErrorMessage) {
  struct ThrowingWindowing : RecordingWindowing {
    using RecordingWindowing::RecordingWindowing;
    void OpenUrl(const std::string&) override { throw 42; }
  };
  ThrowingWindowing throwing(log_);
  ui::Install(&throwing);
  orvane::ReminderSetting page;
  log_.clear();
  EXPECT_NO_THROW(page.lblHyperlink_Click());
  ui::Install(&windowing_);
  ASSERT_EQ(log_.size(), 1u);
  EXPECT_EQ(log_[0].rfind("Add-In Error (critical): ", 0), 0u) << log_[0];
}

}  // namespace
}  // namespace page_test
