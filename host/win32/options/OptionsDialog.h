#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace host::win32 {

// The client's Options dialog: a real dialog with a tab control hosting each page added
// during OptionsPagesAdd in place, as the client does. Runs on the client's UI thread.
class OptionsDialog {
 public:
  // raisePagesAdd fires Application's OptionsPagesAdd(pages) on the connected add-ins
  // (the client's event source); application is passed to pages as PropertyPageSite's
  // Application. owner: the client's main window.
  OptionsDialog(HWND owner, IDispatch* application,
                std::function<void(IDispatch* pages)> raisePagesAdd);
  ~OptionsDialog();                       // an open dialog is cancelled
  OptionsDialog(const OptionsDialog&) = delete;
  OptionsDialog& operator=(const OptionsDialog&) = delete;

  void Open();                            // builds, raises OptionsPagesAdd, hosts, shows (modeless)
  bool IsOpen() const;
  std::vector<std::wstring> TabTitles() const;
  void SelectTab(int index);              // 1-based, as `options tab N`
  // A page command of the current tab: {"type","UserID","demo"}, {"tick","SMS"},
  // {"untick","SMS"}, {"click","link"}, {"hover","X","Y"}, {"release"}; false and a reason
  // in `error` when the command or its target is unknown.
  bool PageCommand(const std::vector<std::wstring>& words, std::wstring& error);
  bool ApplyEnabled() const;
  void Ok();      // Apply on a dirty page, then close
  void Apply();   // Apply on a dirty page
  void Cancel();  // close without applying
  // Where a hosted page opened a web page (ShellExecute), the client learns it this way:
  // the last URL, empty when none. Under Wine the page's ShellExecuteW runs winebrowser,
  // which runs the recorder host/win32/options/record-url.sh (see UseUrlRecorder); it appends
  // each URL to the URL file. After `click link` this waits (up to 10 s) for the new line.
  std::wstring LastUrl() const;

  // Additions beyond the client's needs.
  HWND Window() const;                    // the dialog window, null while closed
  // The calls between the dialog and its pages, in order ("page 1: SetClientSite", ...),
  // for the tests that pin the hosting sequence.
  std::vector<std::string> CallLog() const;
  // Where LastUrl() reads the URL the browser recorder wrote; empty: the default,
  // %TEMP%\reminder-host-lasturl.txt.
  void SetUrlFile(const std::wstring& path);
  // For the client's message loop, before TranslateMessage/DispatchMessage: gives the active
  // page its keys, then runs IsDialogMessage on the dialog. True when the message was used.
  bool PreTranslateMessage(MSG* msg);
  // Points Wine's browser launcher (HKCU\Software\Wine\WineBrowser "Browsers") at a
  // recorder program (a path of the POSIX side) that appends each URL to the URL file.
  static bool UseUrlRecorder(const std::wstring& recorder);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace host::win32
