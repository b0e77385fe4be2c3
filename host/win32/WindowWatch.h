#pragma once
// What the user sees, caught on the client's thread by a CBT hook as each window is
// activated: a message box (caption, text, icon read from its controls, then dismissed with
// OK) and the add-in's device dialog (its rows read from the real controls, then driven by
// the next queued answer: BM_CLICK on the real check boxes and buttons).
#include <windows.h>

#include <deque>
#include <iosfwd>
#include <set>
#include <string>
#include <vector>

#include "host/windowing/DeviceDialogRows.h"
#include "host/windowing/ScriptedDeviceDialog.h"
#include "host/windowing/ScriptedWindowing.h"

namespace host::win32 {

class WindowWatch {
 public:
  explicit WindowWatch(std::ostream& transcript);
  ~WindowWatch();
  WindowWatch(const WindowWatch&) = delete;
  WindowWatch& operator=(const WindowWatch&) = delete;

  // Messages shown and not yet taken by an expectation, oldest first.
  std::vector<ShownMessage>& Pending() { return pending_; }

  void Queue(DialogAnswer answer) { answers_.push_back(std::move(answer)); }
  size_t QueuedAnswers() const { return answers_.size(); }
  const std::vector<DeviceDialogRow>& LastRows() const { return lastRows_; }
  int TakeShownCount();
  std::string TakeFailure();
  // Where the first device dialog and the first message box of each icon are pictured
  // (device-dialog.bmp, message-critical.bmp, message-information.bmp); empty: nowhere.
  void SetPictureFolder(const std::wstring& folder) { pictures_ = folder; }
  // The window that owned the last device dialog.
  HWND LastDialogOwner() const { return lastOwner_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK Act(HWND, UINT, UINT_PTR timer, DWORD);
  void Activated(HWND window);
  void CatchMessage(HWND box);
  void Drive(HWND dialog);
  void Fail(const std::string& what, HWND dialog);
  void Picture(HWND window, const std::wstring& name);

  std::ostream& out_;
  HHOOK hook_ = nullptr;
  std::set<HWND> seen_;
  std::vector<ShownMessage> pending_;
  std::deque<DialogAnswer> answers_;
  std::vector<DeviceDialogRow> lastRows_;
  int shown_ = 0;
  std::string failure_;
  HWND lastOwner_ = nullptr;
  std::deque<HWND> toAct_;
  std::wstring pictures_;
  std::set<std::wstring> pictured_;
};

// The rows of a device dialog as its controls show them.
std::vector<DeviceDialogRow> ReadDialogRows(HWND dialog);
std::wstring WindowText(HWND window);

}  // namespace host::win32
