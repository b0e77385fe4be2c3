#pragma once
// The child windows of the settings page's Win32 view, for containers and tests that drive
// the real controls. Every control is a direct child of the page's window (the window that
// IOleInPlaceObject::GetWindow gives), found with GetDlgItem(page, id). An ID is 1000 plus
// the control's tab index, so the IDs follow the tab order and never change.
//
// Driving the page as a user would:
// - typing: SetWindowTextW on an edit; the edit itself sends EN_CHANGE to the page
// - ticking: BM_CLICK on a check box (a disabled one ignores it)
// - the link: WM_MOUSEMOVE / WM_LBUTTONDOWN / WM_LBUTTONUP posted or sent to the link's own
//   window, in its client pixels (TwipsToPixels converts the page's twips); WM_GETFONT on
//   the link gives the font it draws with, underlined while the pointer is over it.
#include <windows.h>

namespace orvane::win32 {

inline constexpr int kLblUserId = 1000;
inline constexpr int kTxtUserId = 1001;
inline constexpr int kLblPassword = 1002;
inline constexpr int kTxtPassword = 1003;

// The device rows in the order HomeEmail, WorkEmail, HomePhone, WorkPhone, CellPhone, SMS,
// AIM, MSN, YAHOO, Fax (the device type names of the stored "Device" list).
inline constexpr int kDeviceCheckBoxIds[10] = {1004, 1006, 1008, 1010, 1012, 1014, 1017, 1019, 1021, 1023};
inline constexpr int kDeviceLabelIds[10] = {1005, 1007, 1009, 1011, 1013, 1015, 1018, 1020, 1022, 1024};
inline constexpr int kLblSmsProvider = 1016;

inline constexpr int kFrmDevices = 1025;  // a group box
inline constexpr int kLblHyperlink = 1026;

// The window class of the page's own window and of the link.
inline constexpr const wchar_t* kPageClass = L"OrvaneReminderSetting";
inline constexpr const wchar_t* kLinkClass = L"OrvaneHyperlink";

// Twips (1440 an inch) to pixels of the screen, as the view lays the page out.
inline int TwipsToPixels(int twips, bool vertical = false) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, vertical ? LOGPIXELSY : LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return MulDiv(twips, dpi, 1440);
}

}  // namespace orvane::win32
