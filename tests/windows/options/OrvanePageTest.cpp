// The real settings page (Orvane.ocx) on the Options dialog: the order of calls between them,
// and what Apply stores, read back as the add-in reads it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/win32/options/OptionsDialog.h"
#include "optionspage/win32/ControlIds.h"

#pragma GCC diagnostic ignored "-Wcast-function-type"  // exports found with GetProcAddress

namespace {

using host::win32::OptionsDialog;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kSettingsKey[] = "Software\\Microsoft\\Office\\Outlook\\Addins\\Reminder.ReminderDesigner\\Setting";
constexpr wchar_t kProgId[] = L"Orvane.ReminderSetting";

// Message boxes of the page, caught on this thread and answered with OK.
std::vector<std::wstring> messages;
HWND pendingBox = nullptr;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (pendingBox) PostMessageW(pendingBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  pendingBox = nullptr;
}

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = HWND(wParam);
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    // A message box has its text in item 0xFFFF; the Options dialog is a #32770 too.
    if (lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(window, 0xFFFF) && window != pendingBox) {
      wchar_t caption[128] = {};
      wchar_t text[512] = {};
      GetWindowTextW(window, caption, 128);
      GetDlgItemTextW(window, 0xFFFF, text, 512);
      messages.push_back(std::wstring(caption) + L": " + text);
      pendingBox = window;
      SetTimer(nullptr, 0, 1, AnswerBox);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string Joined(const std::vector<std::string>& calls) {
  std::string text;
  for (const auto& call : calls) text += "\n  " + call;
  return text;
}

// A stored setting as the add-in reads it: type and bytes.
struct Stored {
  DWORD type = REG_NONE;
  std::string bytes;
};

Stored ReadSetting(const char* name) {
  Stored stored;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return stored;
  char data[512] = {};
  DWORD size = sizeof(data);
  if (RegQueryValueExA(key, name, nullptr, &stored.type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS) {
    stored.bytes.assign(data, size);
  }
  RegCloseKey(key);
  return stored;
}

class OrvanePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(kProgId, &clsid))) {
      // Registered for this run only when nobody else has it registered.
      wchar_t path[MAX_PATH] = {};
      GetModuleFileNameW(nullptr, path, MAX_PATH);
      std::wstring ocx(path);
      ocx = ocx.substr(0, ocx.find_last_of(L"\\/") + 1) + L"Orvane.ocx";
      module_ = LoadLibraryW(ocx.c_str());
      if (!module_) GTEST_SKIP() << "Orvane.ocx is not built";
      auto reg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(module_, "DllRegisterServer"));
      ASSERT_TRUE(reg && SUCCEEDED(reg()));
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    hook_ = SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
    messages.clear();
    dialog_ = std::make_unique<OptionsDialog>(nullptr, nullptr, [](IDispatch* pages) {
      LPOLESTR name = const_cast<LPOLESTR>(L"Add");
      DISPID id = 0;
      pages->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
      VARIANT args[2];
      args[1].vt = VT_BSTR;
      args[1].bstrVal = SysAllocString(kProgId);
      args[0].vt = VT_BSTR;
      args[0].bstrVal = SysAllocString(L"Tarvanel Reminder");
      DISPPARAMS params = {args, nullptr, 2, 0};
      EXPECT_EQ(S_OK, pages->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
      VariantClear(&args[0]);
      VariantClear(&args[1]);
    });
  }
  void TearDown() override {
    dialog_.reset();
    if (hook_) UnhookWindowsHookEx(hook_);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    if (module_) {
      auto unreg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(module_, "DllUnregisterServer"));
      if (unreg) unreg();
      FreeLibrary(module_);
    }
    OleUninitialize();
  }
  // The calls since the mark, and a new mark.
  std::vector<std::string> Since(size_t& mark) {
    const auto log = dialog_->CallLog();
    std::vector<std::string> recent(log.begin() + long(std::min(mark, log.size())), log.end());
    mark = log.size();
    return recent;
  }
  void Page(std::vector<std::wstring> words) {
    std::wstring error;
    EXPECT_TRUE(dialog_->PageCommand(words, error)) << std::string(error.begin(), error.end());
  }

  HMODULE module_ = nullptr;
  HHOOK hook_ = nullptr;
  std::unique_ptr<OptionsDialog> dialog_;
};

TEST_F(OrvanePageTest, SitedBeforeItsPropertiesAreInitialisedAndAppliedOnlyWhenDirty) {
  dialog_->Open();
  ASSERT_TRUE(dialog_->IsOpen());
  ASSERT_THAT(dialog_->TabTitles(), ElementsAre(L"Tarvanel Reminder"));
  size_t mark = 0;
  EXPECT_THAT(Since(mark), ElementsAre("Open", "CoCreateInstance", "GetMiscStatus", "SetClientSite", "InitNew",
                                       "GetContainer", "QueryInterface(PropertyPageSite)", "SetHostNames", "SetExtent",
                                       "DoVerb(InPlaceActivate)", "CanInPlaceActivate", "OnInPlaceActivate",
                                       "GetWindowContext", "Advise", "GetPageInfo"));
  EXPECT_FALSE(dialog_->ApplyEnabled());
  // The first opening stores the defaults.
  EXPECT_EQ(DWORD(REG_SZ), ReadSetting("UserID").type);

  // Typing the text a box already holds changes nothing.
  Page({L"type", L"UserID"});
  EXPECT_THAT(Since(mark), IsEmpty());
  Page({L"type", L"UserID", L"demo"});
  EXPECT_THAT(Since(mark), ElementsAre("OnStatusChange", "Dirty -> true"));
  EXPECT_TRUE(dialog_->ApplyEnabled());
  Page({L"type", L"Password", L"demo"});
  EXPECT_THAT(Since(mark), ElementsAre("OnStatusChange", "Dirty -> true"));

  dialog_->Ok();
  EXPECT_FALSE(dialog_->IsOpen());
  EXPECT_THAT(Since(mark), ElementsAre("Dirty -> true", "Apply", "Dirty -> false", "Unadvise", "InPlaceDeactivate",
                                       "OnInPlaceDeactivate", "Close", "SetClientSite(NULL)"));
  const Stored user = ReadSetting("UserID");
  EXPECT_EQ(DWORD(REG_SZ), user.type);
  EXPECT_EQ(std::string("demo\0", 5), user.bytes);
  EXPECT_EQ(std::string("ZGVtbw==\0", 9), ReadSetting("Password").bytes);
  EXPECT_THAT(messages,
              ElementsAre(L"Add-In Message: Please close Options and reopen it to get all devices setting from tarvanel"));

  // Reopened and left clean, OK applies nothing.
  dialog_->Open();
  dialog_->Ok();
  const auto reopened = Since(mark);
  EXPECT_EQ(std::find(reopened.begin(), reopened.end(), "Apply"), reopened.end()) << Joined(reopened);
}

TEST_F(OrvanePageTest, CancelLeavesTheStoredSettingsAsTheyWere) {
  dialog_->Open();
  const Stored before = ReadSetting("UserID");
  Page({L"type", L"UserID", L"someone"});
  EXPECT_TRUE(dialog_->ApplyEnabled());
  dialog_->Cancel();
  EXPECT_FALSE(dialog_->IsOpen());
  const auto all = dialog_->CallLog();
  EXPECT_EQ(std::find(all.begin(), all.end(), "Apply"), all.end()) << Joined(all);
  EXPECT_EQ(before.bytes, ReadSetting("UserID").bytes);
  EXPECT_TRUE(messages.empty());
}

// Tab goes through the page's controls and the dialog's buttons as through one dialog: the
// client's loop hands keys to the dialog, and the page's windows are control parents.
TEST_F(OrvanePageTest, TabMovesBetweenThePageAndTheButtons) {
  dialog_->Open();
  ASSERT_TRUE(dialog_->IsOpen());
  HWND control = GetWindow(GetWindow(dialog_->Window(), GW_CHILD), GW_CHILD);
  HWND user = GetDlgItem(control, orvane::win32::kTxtUserId);
  HWND password = GetDlgItem(control, orvane::win32::kTxtPassword);
  ASSERT_TRUE(user && password);
  SetForegroundWindow(dialog_->Window());
  auto tab = [&] {
    MSG msg = {GetFocus(), WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_TRUE(dialog_->PreTranslateMessage(&msg));
    return GetFocus();
  };
  SetFocus(user);
  EXPECT_EQ(password, tab());
  SetFocus(GetDlgItem(dialog_->Window(), IDCANCEL));
  EXPECT_EQ(user, tab());  // Apply is greyed: from Cancel into the page
}

}  // namespace
