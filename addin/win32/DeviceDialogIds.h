#pragma once
// Control IDs of the Win32 device dialog ("Appointment Devices", window class "#32770").
// They are stable: a program driving the dialog (the stand-in client's scenario runner)
// finds the controls with GetDlgItem and these numbers. Plain C++, no <windows.h>.
//
// Driving it: read a row with IsWindowEnabled / BM_GETCHECK on its check box and
// GetWindowTextW on its labels; tick or untick an enabled box with BM_CLICK (a disabled box
// is never ticked: the dialog puts it back); press a button with BM_CLICK on kButtonOk or
// kButtonCancel. WM_CLOSE closes the dialog through its frame (neither button: a cancel).
// The Escape key acts as Cancel and Enter as OK, as in any Windows dialog.

namespace reminder::win32 {

inline constexpr const wchar_t* kDeviceDialogCaption = L"Appointment Devices";

inline constexpr int kButtonOk = 1;      // IDOK, "OK"
inline constexpr int kButtonCancel = 2;  // IDCANCEL, "Cancel"
inline constexpr int kLabelDescription = 1000;
inline constexpr int kFrameDevices = 1001;

// One row of the dialog. Row n (1 to 10, top to bottom) has check box 1100 + n and address
// label 1200 + n; the SMS row also has its provider label, 1300 + n. 0 = no such control.
struct DeviceRowIds {
  const char* deviceType;  // as the service knows it: "HomeEmail" ... "Fax"
  int checkBox;
  int addressLabel;
  int extraLabel;
};

inline constexpr DeviceRowIds kDeviceRowIds[10] = {
    {"HomeEmail", 1101, 1201, 0}, {"WorkEmail", 1102, 1202, 0}, {"HomePhone", 1103, 1203, 0},
    {"WorkPhone", 1104, 1204, 0}, {"CellPhone", 1105, 1205, 0}, {"SMS", 1106, 1206, 1306},
    {"AIM", 1107, 1207, 0},       {"MSN", 1108, 1208, 0},       {"YAHOO", 1109, 1209, 0},
    {"Fax", 1110, 1210, 0},
};

}  // namespace reminder::win32
