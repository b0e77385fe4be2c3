#include "optionspage/win32/PageWindowing.h"

#include <shellapi.h>

#include "comsupport/Text.h"

namespace orvane::win32 {

namespace {

// The page runs on its container's user-interface thread; so does this state.
thread_local HWND servedLink = nullptr;
thread_local bool releasing = false;

HWND MessageOwner() {
  if (servedLink) return GetAncestor(servedLink, GA_ROOT);
  return GetActiveWindow();
}

}  // namespace

void PageWindowing::MessageBox(const std::string& text, const std::string& caption, ui::Icon icon) {
  const UINT style = MB_OK | (icon == ui::Icon::kCritical ? MB_ICONERROR : MB_ICONINFORMATION);
  ::MessageBoxW(MessageOwner(), comsupport::Utf16(text).c_str(), comsupport::Utf16(caption).c_str(), style);
}

void PageWindowing::OpenUrl(const std::string& url) {
  ShellExecuteW(nullptr, L"open", comsupport::Utf16(url).c_str(), L"", L"", SW_SHOW);
}

void PageWindowing::SetCursor(ui::Cursor cursor) {
  ::SetCursor(LoadCursorW(nullptr, cursor == ui::Cursor::kHand ? IDC_HAND : IDC_ARROW));
}

void PageWindowing::InjectLeftButton(bool down) {
  if (!servedLink) return;
  if (down) {
    SetCapture(servedLink);
  } else if (GetCapture() == servedLink) {
    releasing = true;
    ReleaseCapture();
    releasing = false;
  }
}

void InstallPageWindowing() {
  static PageWindowing windowing;
  ui::Install(&windowing);
}

LinkScope::LinkScope(HWND link) : previous_(servedLink) { servedLink = link; }
LinkScope::~LinkScope() { servedLink = previous_; }

bool ReleasingCapture() { return releasing; }

}  // namespace orvane::win32
