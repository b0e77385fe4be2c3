#include <windows.h>
#include <shellapi.h>

#include "addin/win32/Win32Views.h"
#include "comsupport/Text.h"

namespace reminder::win32 {

void Win32Windowing::MessageBox(const std::string& text, const std::string& caption, ui::Icon icon) {
  const UINT kind = icon == ui::Icon::kCritical ? MB_ICONSTOP : MB_ICONINFORMATION;
  ::MessageBoxW(GetActiveWindow(), comsupport::Utf16(text).c_str(), comsupport::Utf16(caption).c_str(), MB_OK | kind);
}

void Win32Windowing::OpenUrl(const std::string& url) {
  ShellExecuteW(nullptr, L"open", comsupport::Utf16(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Windowing::SetCursor(ui::Cursor cursor) {
  ::SetCursor(LoadCursorW(nullptr, cursor == ui::Cursor::kHand ? IDC_HAND : IDC_ARROW));
}

void InstallViews() {
  static Win32Windowing windowing;
  static Win32DeviceDialog dialog;
  ui::Install(&windowing);
  InstallDeviceDialogView(&dialog);
}

}  // namespace reminder::win32
