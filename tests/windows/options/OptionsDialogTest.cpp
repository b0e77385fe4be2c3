// The Options dialog hosting a page in place: the order of calls between them, the buttons,
// and the page commands done to the page's real controls.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "RecordingPage.h"
#include "host/win32/options/OptionsDialog.h"

namespace {

using host::win32::OptionsDialog;
using options_test::PageLog;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Raises OptionsPagesAdd as an add-in answers it: Add(ProgID, title) by name.
void AddPage(IDispatch* pages, const wchar_t* progId, const wchar_t* title) {
  LPOLESTR name = const_cast<LPOLESTR>(L"Add");
  DISPID id = 0;
  ASSERT_EQ(S_OK, pages->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
  VARIANT args[2];
  args[1].vt = VT_BSTR;
  args[1].bstrVal = SysAllocString(progId);
  args[0].vt = VT_BSTR;
  args[0].bstrVal = SysAllocString(title);
  DISPPARAMS params = {args, nullptr, 2, 0};
  EXPECT_EQ(S_OK, pages->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
  VariantClear(&args[0]);
  VariantClear(&args[1]);
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    ASSERT_TRUE(options_test::RegisterRecordingPage());
    PageLog().clear();
    dialog_ = std::make_unique<OptionsDialog>(nullptr, nullptr, [](IDispatch* pages) {
      AddPage(pages, options_test::kRecordingPageProgId, L"Tarvanel Reminder");
    });
  }
  void TearDown() override {
    dialog_.reset();
    options_test::RevokeRecordingPage();
    OleUninitialize();
  }
  bool Page(std::vector<std::wstring> words) {
    std::wstring error;
    const bool done = dialog_->PageCommand(words, error);
    if (!done) last_error_ = error;
    return done;
  }
  // The calls since the mark, and a new mark.
  std::vector<std::string> Since(size_t& mark) {
    auto log = dialog_->CallLog();
    std::vector<std::string> recent(log.begin() + long(std::min(mark, log.size())), log.end());
    mark = log.size();
    return recent;
  }

  std::unique_ptr<OptionsDialog> dialog_;
  std::wstring last_error_;
};

TEST_F(OptionsDialogTest, HostsThePageInPlaceAndAppliesItOnlyWhenDirty) {
  dialog_->Open();
  ASSERT_TRUE(dialog_->IsOpen());
  EXPECT_THAT(dialog_->TabTitles(), ElementsAre(L"Tarvanel Reminder"));
  size_t mark = 0;
  EXPECT_THAT(Since(mark),
              ElementsAre("Open", "CoCreateInstance", "GetMiscStatus", "SetClientSite", "Ambient(UserMode)", "InitNew",
                          "GetContainer", "QueryInterface(PropertyPageSite)", "SetHostNames", "SetExtent",
                          "DoVerb(InPlaceActivate)", "CanInPlaceActivate", "OnInPlaceActivate", "GetWindowContext",
                          "GetPageInfo"));
  EXPECT_THAT(PageLog(), ElementsAre("SetClientSite", "UserMode", "InitNew", "site found", "in place", "GetPageInfo"));
  EXPECT_FALSE(dialog_->ApplyEnabled());

  // Typing the text a box already holds changes nothing.
  EXPECT_TRUE(Page({L"type", L"UserID"}));
  EXPECT_THAT(Since(mark), IsEmpty());
  EXPECT_FALSE(dialog_->ApplyEnabled());

  PageLog().clear();
  EXPECT_TRUE(Page({L"type", L"UserID", L"demo"}));
  EXPECT_THAT(Since(mark), ElementsAre("OnStatusChange", "Dirty -> true"));
  EXPECT_THAT(PageLog(), ElementsAre("Change(UserID=demo)", "Dirty"));
  EXPECT_TRUE(dialog_->ApplyEnabled());

  dialog_->Apply();
  EXPECT_THAT(Since(mark), ElementsAre("Dirty -> true", "Apply", "Dirty -> false"));
  EXPECT_FALSE(dialog_->ApplyEnabled());
  EXPECT_TRUE(dialog_->IsOpen());

  // OK on a clean page applies nothing; the page is torn down in the client's order.
  PageLog().clear();
  dialog_->Ok();
  EXPECT_FALSE(dialog_->IsOpen());
  EXPECT_THAT(Since(mark), ElementsAre("Dirty -> false", "InPlaceDeactivate", "OnInPlaceDeactivate", "Close",
                                       "SetClientSite(NULL)"));
  EXPECT_THAT(PageLog(), ElementsAre("Dirty", "InPlaceDeactivate", "Close", "SetClientSite(NULL)", "Released"));
}

TEST_F(OptionsDialogTest, OkAppliesADirtyPageAndCancelDiscards) {
  dialog_->Open();
  EXPECT_TRUE(Page({L"type", L"Password", L"two", L"words"}));
  EXPECT_TRUE(dialog_->ApplyEnabled());
  PageLog().clear();
  dialog_->Cancel();
  EXPECT_FALSE(dialog_->IsOpen());
  EXPECT_THAT(PageLog(), ElementsAre("InPlaceDeactivate", "Close", "SetClientSite(NULL)", "Released"));

  dialog_->Open();
  EXPECT_TRUE(Page({L"tick", L"SMS"}));
  PageLog().clear();
  dialog_->Ok();
  EXPECT_FALSE(dialog_->IsOpen());
  EXPECT_THAT(PageLog(), ElementsAre("Dirty", "Apply", "Dirty", "InPlaceDeactivate", "Close", "SetClientSite(NULL)",
                                     "Released"));
}

TEST_F(OptionsDialogTest, PageCommandsDriveTheRealControls) {
  dialog_->Open();
  PageLog().clear();
  EXPECT_TRUE(Page({L"type", L"Password", L"two", L"words"}));
  EXPECT_TRUE(Page({L"tick", L"sms"}));
  EXPECT_TRUE(Page({L"tick", L"SMS"}));    // already ticked: no click
  EXPECT_TRUE(Page({L"untick", L"SMS"}));
  EXPECT_TRUE(Page({L"tick", L"Fax"}));    // disabled: a click does nothing
  EXPECT_THAT(PageLog(), ElementsAre("Change(Password=two words)", "Dirty", "Click(SMS)", "Dirty", "Click(SMS)",
                                     "Dirty"));

  PageLog().clear();
  // Twips in the link: 150 twips are 10 pixels at 96 dots per inch.
  EXPECT_TRUE(Page({L"hover", L"150", L"300"}));
  EXPECT_TRUE(Page({L"release"}));
  EXPECT_TRUE(Page({L"show"}));
  EXPECT_THAT(PageLog(), ElementsAre("MouseMove(10,20)", "LButtonUp"));

  EXPECT_FALSE(Page({L"tick", L"Pager"}));
  EXPECT_EQ(L"no device type named Pager", last_error_);
  EXPECT_FALSE(Page({L"type", L"Email", L"x"}));
  EXPECT_FALSE(Page({L"press", L"F1"}));
  EXPECT_FALSE(Page({L"click", L"frame"}));
}

// The link opens its page with ShellExecuteW; Wine's browser launcher runs the recorder.
TEST_F(OptionsDialogTest, LastUrlIsThePageTheLinkOpened) {
  char recorder[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("OPTIONS_URL_RECORDER", recorder, MAX_PATH)) GTEST_SKIP() << "no recorder given";
  std::wstring path(recorder, recorder + strlen(recorder));
  ASSERT_TRUE(OptionsDialog::UseUrlRecorder(path));
  // The recorder writes into the prefix's folder, where the dialog reads by default.
  char prefix[MAX_PATH] = {};
  ASSERT_TRUE(GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH));
  DeleteFileA(("Z:" + std::string(prefix) + "/last-url.txt").c_str());
  dialog_->Open();
  EXPECT_EQ(L"", dialog_->LastUrl());
  PageLog().clear();
  EXPECT_TRUE(Page({L"click", L"link"}));
  EXPECT_THAT(PageLog(), ElementsAre("MouseMove(2,2)", "LButtonDown", "LButtonUp", "Click(link)"));
  EXPECT_EQ(options_test::kRecordingPageUrl, dialog_->LastUrl());
}

}  // namespace
