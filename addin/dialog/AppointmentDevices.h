#pragma once
// The device dialog of one appointment save: the controls as data that every view renders
// (terminal, scripted, Win32 later), the public result `selectedDevices` and the two button
// handlers. The add-in prepares it (ReminderDesigner::PrepareDeviceForm), a DeviceDialogView
// shows it modally, and the add-in reads `selectedDevices` once it has been unloaded.
#include <array>
#include <string>
#include <vector>

namespace reminder {

enum class ControlKind { kLabel, kFrame, kButton, kCheckBox };

// One control as designed. Positions and sizes are in twips; rows of devices are placed
// relative to the frame named in `container`, everything else to the dialog's client area.
struct Control {
  std::string name;       // "chkHomeEmail", "lblSMSProvider", "btnOK" ...
  ControlKind kind = ControlKind::kLabel;
  std::string caption;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int tabIndex = 0;
  bool enabled = true;
  int value = 0;          // check boxes: 0 unticked, 1 ticked; 0 for other kinds
  std::string container;  // "" for the client area, "frmDevices" for the rows
};

struct Font {
  std::string name = "Tahoma";
  double size = 8.25;
};

// One device type row: its name as the service knows it and the names of its controls.
struct DeviceRow {
  const char* deviceType;    // "HomeEmail" ... "Fax"
  const char* checkBox;      // "chkHomeEmail"
  const char* addressLabel;  // "lblHomeEmail"
  const char* extraLabel;    // "lblSMSProvider" on the SMS row, "" elsewhere
};

// The ten rows, top to bottom, in the order of every loop over device types.
extern const std::array<DeviceRow, 10> kDeviceRows;

class AppointmentDevices {
 public:
  static constexpr const char* kCaption = "Appointment Devices";
  static constexpr int kClientWidth = 6210;   // twips
  static constexpr int kClientHeight = 5145;  // twips

  // The chosen device types joined by ",", in row order; empty until OK is pressed with
  // something ticked.
  std::string selectedDevices;

  // A fresh dialog as designed: every control enabled, every box unticked, placeholder
  // captions on the address labels.
  AppointmentDevices();

  const std::string& Caption() const { return caption_; }
  const Font& DialogFont() const { return font_; }

  // Every control, in creation order (labels and buttons of the client area, then the
  // frame's rows). Views may change `value` through Tick/SetTicked only.
  const std::vector<Control>& Controls() const { return controls_; }
  // The control of that name, or nullptr.
  const Control* Find(const std::string& name) const;
  Control* Find(const std::string& name);
  // The control of that name; missing-object error (91) when there is none.
  Control& At(const std::string& name);
  const Control& At(const std::string& name) const;

  // The row of a device type name (exact, case-sensitive), or nullptr.
  static const DeviceRow* RowFor(const std::string& deviceType);
  // The check box / address label of a device type; missing-object error for an unknown name.
  Control& CheckBoxFor(const std::string& deviceType);
  Control& AddressLabelFor(const std::string& deviceType);
  bool IsTicked(const std::string& deviceType) const;

  // The user ticks or unticks a box: only an enabled box of a known type changes.
  // Returns false when nothing could change (unknown type, disabled box).
  bool Tick(const std::string& deviceType, bool ticked);
  // Sets the value whatever the enabled state, as the add-in's preparation does.
  void SetTicked(const std::string& deviceType, bool ticked);

  // OK: the ticked types in row order joined by "," (no trailing comma); then unload.
  void btnOK_Click();
  // Cancel: nothing chosen; then unload.
  void btnCancel_Click();
  // Closed through the window frame: unloads and leaves `selectedDevices` as it was.
  void Close() { unloaded_ = true; }
  // True once OK, Cancel or Close ended the dialog.
  bool Unloaded() const { return unloaded_; }

 private:
  std::string caption_ = kCaption;
  Font font_;
  std::vector<Control> controls_;
  bool unloaded_ = false;
};

}  // namespace reminder
