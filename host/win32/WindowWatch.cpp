#include "host/win32/WindowWatch.h"

#include <ostream>

#include "addin/win32/DeviceDialogIds.h"
#include "host/win32/Dispatch.h"
#include "host/win32/Picture.h"

namespace host::win32 {
namespace {

WindowWatch* g_watch = nullptr;  // one client thread, one watch

// A message box holds its text in static 0xFFFF and nothing but statics and buttons; a
// dialog of another kind (the Options dialog) may use 0xFFFF for a label as well.
bool IsMessageBox(HWND window) {
  if (!GetDlgItem(window, 0xFFFF)) return false;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (_wcsicmp(cls, L"Static") != 0 && _wcsicmp(cls, L"Button") != 0) return false;
    if (GetDlgCtrlID(child) == reminder::win32::kDeviceRowIds[0].checkBox) return false;
  }
  return true;
}

bool IsDeviceDialog(HWND window) { return GetDlgItem(window, reminder::win32::kDeviceRowIds[0].checkBox) != nullptr; }

// The icon of a message box: its SS_ICON static's icon compared with the system's icons
// (the control's ID differs between systems).
ui::Icon IconOf(HWND box, bool& found) {
  found = false;
  ui::Icon icon = ui::Icon::kInformation;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (_wcsicmp(cls, L"Static") != 0 || (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
    const HICON shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    if (shown && shown == LoadIconW(nullptr, IDI_HAND)) {
      found = true;
      icon = ui::Icon::kCritical;
    } else if (shown && shown == LoadIconW(nullptr, IDI_ASTERISK)) {
      found = true;
      icon = ui::Icon::kInformation;
    }
  }
  return icon;
}

std::string RowLine(const DeviceDialogRow& row) {
  std::string line = !row.enabled ? "[-] " : row.ticked ? "[x] " : "[ ] ";
  line += row.caption;
  if (!row.address.empty()) line += "  " + row.address;
  if (!row.provider.empty()) line += " " + row.provider;
  return line;
}

}  // namespace

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(wcslen(text.c_str()));
  return text;
}

std::vector<DeviceDialogRow> ReadDialogRows(HWND dialog) {
  std::vector<DeviceDialogRow> rows;
  for (const auto& ids : reminder::win32::kDeviceRowIds) {
    DeviceDialogRow row;
    row.deviceType = ids.deviceType;
    HWND box = GetDlgItem(dialog, ids.checkBox);
    row.caption = Utf8(WindowText(box).c_str());
    row.enabled = box && IsWindowEnabled(box);
    row.ticked = box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    row.address = Utf8(WindowText(GetDlgItem(dialog, ids.addressLabel)).c_str());
    if (ids.extraLabel) row.provider = Utf8(WindowText(GetDlgItem(dialog, ids.extraLabel)).c_str());
    rows.push_back(row);
  }
  return rows;
}

WindowWatch::WindowWatch(std::ostream& transcript) : out_(transcript) {
  g_watch = this;
  hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

WindowWatch::~WindowWatch() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_watch = nullptr;
}

int WindowWatch::TakeShownCount() {
  const int shown = shown_;
  shown_ = 0;
  return shown;
}

std::string WindowWatch::TakeFailure() {
  std::string failure = failure_;
  failure_.clear();
  return failure;
}

LRESULT CALLBACK WindowWatch::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_watch) g_watch->Activated(reinterpret_cast<HWND>(wParam));
  if (code == HCBT_DESTROYWND && g_watch) g_watch->seen_.erase(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void WindowWatch::Activated(HWND window) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (wcscmp(cls, L"#32770") != 0 || !seen_.insert(window).second) return;
  if (!IsMessageBox(window) && !IsDeviceDialog(window)) return;
  // Act once the window's own modal loop runs.
  toAct_.push_back(window);
  SetTimer(nullptr, 0, 1, Act);
}

void CALLBACK WindowWatch::Act(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (!g_watch || g_watch->toAct_.empty()) return;
  HWND window = g_watch->toAct_.front();
  g_watch->toAct_.pop_front();
  if (!IsWindow(window)) return;
  if (IsDeviceDialog(window)) g_watch->Drive(window);
  else g_watch->CatchMessage(window);
}

void WindowWatch::CatchMessage(HWND box) {
  ShownMessage m;
  m.caption = Utf8(WindowText(box).c_str());
  m.text = Utf8(WindowText(GetDlgItem(box, 0xFFFF)).c_str());
  bool known = false;
  m.icon = IconOf(box, known);
  Picture(box, m.icon == ui::Icon::kCritical ? L"message-critical" : L"message-information");
  out_ << "[" << m.caption << "] " << m.text << (known ? (m.icon == ui::Icon::kCritical ? " (critical)" : " (information)") : "")
       << "\n";
  pending_.push_back(m);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

void WindowWatch::Picture(HWND window, const std::wstring& name) {
  if (pictures_.empty() || !pictured_.insert(name).second) return;
  if (!SaveWindowPicture(window, pictures_ + L"\\" + name + L".bmp")) out_ << "(no picture of " << Utf8(name.c_str()) << ")\n";
}

void WindowWatch::Fail(const std::string& what, HWND dialog) {
  if (failure_.empty()) failure_ = what;
  out_ << "(the dialog is closed)\n";
  PostMessageW(dialog, WM_CLOSE, 0, 0);
}

void WindowWatch::Drive(HWND dialog) {
  namespace ids = reminder::win32;
  ++shown_;
  lastOwner_ = GetWindow(dialog, GW_OWNER);
  lastRows_ = ReadDialogRows(dialog);
  Picture(dialog, L"device-dialog");
  out_ << Utf8(WindowText(dialog).c_str()) << "\n";
  for (size_t i = 0; i < lastRows_.size(); ++i) out_ << "  " << (i + 1) << ". " << RowLine(lastRows_[i]) << "\n";
  if (answers_.empty()) {
    Fail("expected a queued dialog answer, got a device dialog with none queued", dialog);
    return;
  }
  DialogAnswer answer = answers_.front();
  answers_.pop_front();
  auto box = [&](const std::string& type) -> HWND {
    for (const auto& row : ids::kDeviceRowIds) {
      if (type == row.deviceType) return GetDlgItem(dialog, row.checkBox);
    }
    return nullptr;
  };
  auto set = [&](const std::string& type, bool ticked) {
    HWND b = box(type);
    if (!b || !IsWindowEnabled(b)) return false;
    if ((SendMessageW(b, BM_GETCHECK, 0, 0) == BST_CHECKED) != ticked) SendMessageW(b, BM_CLICK, 0, 0);
    return (SendMessageW(b, BM_GETCHECK, 0, 0) == BST_CHECKED) == ticked;
  };
  if (answer.onlyTicked) {
    for (const auto& row : ids::kDeviceRowIds) {
      HWND b = GetDlgItem(dialog, row.checkBox);
      if (b && IsWindowEnabled(b) && SendMessageW(b, BM_GETCHECK, 0, 0) == BST_CHECKED) set(row.deviceType, false);
    }
  }
  for (const std::string& type : answer.untick) {
    if (!set(type, false)) return Fail(answer.origin + ": expected to untick " + type + ", got a disabled or unknown box", dialog);
  }
  for (const std::string& type : answer.tick) {
    if (!set(type, true)) return Fail(answer.origin + ": expected to tick " + type + ", got a disabled or unknown box", dialog);
  }
  switch (answer.end) {
    case DialogAnswer::End::kOk:
      out_ << "(OK)\n";
      SendMessageW(GetDlgItem(dialog, ids::kButtonOk), BM_CLICK, 0, 0);
      break;
    case DialogAnswer::End::kCancel:
      out_ << "(Cancel)\n";
      SendMessageW(GetDlgItem(dialog, ids::kButtonCancel), BM_CLICK, 0, 0);
      break;
    case DialogAnswer::End::kClose:
      out_ << "(closed)\n";
      PostMessageW(dialog, WM_CLOSE, 0, 0);
      break;
  }
}

}  // namespace host::win32
