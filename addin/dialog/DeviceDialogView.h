#pragma once
// The view seam of the device dialog: shows a prepared dialog modally and returns once it
// has been unloaded (by OK, by Cancel, or closed through its frame, which counts as cancel).
// The host installs its view (terminal or scripted) once at start.

namespace reminder {

class AppointmentDevices;

class DeviceDialogView {
 public:
  virtual ~DeviceDialogView() = default;
  // Runs the dialog until the user presses OK (calls btnOK_Click), Cancel (btnCancel_Click)
  // or closes it (calls neither).
  virtual void ShowModal(AppointmentDevices& dialog) = 0;
};

namespace detail {
inline DeviceDialogView*& InstalledDeviceDialogView() {
  static DeviceDialogView* view = nullptr;
  return view;
}
}  // namespace detail

inline void InstallDeviceDialogView(DeviceDialogView* view) { detail::InstalledDeviceDialogView() = view; }
// The installed view, or nullptr when none is installed (the dialog then counts as closed).
inline DeviceDialogView* CurrentDeviceDialogView() { return detail::InstalledDeviceDialogView(); }

}  // namespace reminder
