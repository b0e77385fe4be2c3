#pragma once
// A page control for the Options dialog's tests: hosted like the real page, it records what
// the dialog does to it, and reports edits to its PropertyPageSite as the real page does.
// Its controls: a user ID edit, a password edit, the ten device check boxes (Fax disabled)
// and a link that opens a web page with ShellExecuteW when clicked.
#include <windows.h>

#include <string>
#include <vector>

namespace options_test {

inline constexpr wchar_t kRecordingPageProgId[] = L"ReminderTests.RecordingPage";
inline constexpr wchar_t kRecordingPageUrl[] = L"http://127.0.0.1:9/Signup.aspx";

// Registers the class for this process (class object and ProgID); false when it cannot.
bool RegisterRecordingPage();
void RevokeRecordingPage();

// What the page saw, in order: "SetClientSite", "InitNew", "site found", "Change(UserID=demo)",
// "Click(SMS)", "OnStatusChange", "Dirty", "Apply", "MouseMove(6,6)", "LButtonUp", "Click(link)",
// "Close", "SetClientSite(NULL)", "Released" ...
std::vector<std::string>& PageLog();

}  // namespace options_test
