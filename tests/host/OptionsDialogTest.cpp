// The Options dialog towards a page: created by ProgID, then sited; OnStatusChange makes
// the dialog read Dirty; OK and Apply call Apply only on a dirty page; Cancel applies nothing.
#include <gtest/gtest.h>

#include <sstream>

#include "host/options/OptionsDialog.h"
#include "library/support/Error.h"

namespace host {
namespace {

using Calls = std::vector<std::string>;

Calls& Log() {
  static Calls calls;
  return calls;
}

class RecordingPage : public PageControl, public outlook::PropertyPage {
 public:
  RecordingPage() { Log().push_back("Initialize"); }
  outlook::PropertyPage& Page() override { return *this; }
  void InitProperties(std::shared_ptr<outlook::PropertyPageSite> site) override {
    Log().push_back("InitProperties");
    site_ = std::move(site);
  }
  void Render(std::ostream& out) const override { out << "recording page\n"; }
  bool Command(const std::vector<std::string>& words, std::ostream&) override {
    if (words.at(0) != "edit") return false;
    dirty_ = true;
    site_->OnStatusChange();
    return true;
  }
  std::vector<std::string> CommandHelp() const override { return {"edit"}; }
  void Apply() override {
    Log().push_back("Apply");
    dirty_ = false;
  }
  bool Dirty() const override {
    Log().push_back("Dirty");
    return dirty_;
  }
  void GetPageInfo(std::string&, int32_t&) override {}

 private:
  std::shared_ptr<outlook::PropertyPageSite> site_;
  bool dirty_ = false;
};

class AddsPages : public outlook::ApplicationEvents {
 public:
  explicit AddsPages(std::vector<std::string> progIds) : progIds_(std::move(progIds)) {}
  void OptionsPagesAdd(outlook::PropertyPages& Pages) override {
    for (const auto& id : progIds_) Pages.Add(id, "Tab " + id);
  }

 private:
  std::vector<std::string> progIds_;
};

class OptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterPage("Test.RecordingPage", [] { return std::make_unique<RecordingPage>(); });
    Log().clear();
    app_.Advise(&addin_);
  }
  void TearDown() override { app_.Unadvise(&addin_); }
  bool Edit(OptionsDialog& dialog) {
    std::ostringstream out;
    return dialog.PageCommand({"edit"}, out);
  }

  Application app_;
  AddsPages addin_{{"test.recordingpage"}};  // ProgIDs compare without regard to case
};

TEST_F(OptionsDialogTest, PageIsCreatedThenSitedAndCleanPagesAreNotApplied) {
  OptionsDialog dialog(app_);
  ASSERT_EQ(dialog.TabCount(), 1u);
  EXPECT_EQ(dialog.TabTitle(0), "Tab test.recordingpage");
  dialog.Ok();
  EXPECT_TRUE(dialog.Closed());
  EXPECT_EQ(Log(), (Calls{"Initialize", "InitProperties", "Dirty"}));
}

TEST_F(OptionsDialogTest, StatusChangeReadsDirtyAndApplyAppliesOnce) {
  OptionsDialog dialog(app_);
  Log().clear();
  ASSERT_TRUE(Edit(dialog));
  EXPECT_EQ(Log(), Calls{"Dirty"});
  EXPECT_TRUE(dialog.ApplyEnabled());
  dialog.Apply();
  EXPECT_FALSE(dialog.Closed());
  EXPECT_FALSE(dialog.ApplyEnabled());
  dialog.Ok();  // clean again: no second Apply
  EXPECT_EQ(Log(), (Calls{"Dirty", "Dirty", "Apply", "Dirty", "Dirty"}));
}

TEST_F(OptionsDialogTest, CancelClosesWithoutApplying) {
  OptionsDialog dialog(app_);
  Edit(dialog);
  Log().clear();
  dialog.Cancel();
  EXPECT_TRUE(dialog.Closed());
  EXPECT_EQ(Log(), Calls{});
}

TEST_F(OptionsDialogTest, AnUnknownControlIsLeftOutWithAWarning) {
  AddsPages unknown({"Nobody.Page"});
  app_.Unadvise(&addin_);
  app_.Advise(&unknown);
  OptionsDialog dialog(app_);
  EXPECT_EQ(dialog.TabCount(), 0u);
  ASSERT_EQ(dialog.Warnings().size(), 1u);
  EXPECT_NE(dialog.Warnings()[0].find("Nobody.Page"), std::string::npos);
  EXPECT_THROW(CreatePage("Nobody.Page"), falcrest::Error);
  app_.Unadvise(&unknown);
}

}  // namespace
}  // namespace host
