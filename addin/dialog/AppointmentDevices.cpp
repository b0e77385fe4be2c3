#include "addin/dialog/AppointmentDevices.h"

#include "library/support/Error.h"

namespace reminder {

const std::array<DeviceRow, 10> kDeviceRows = {{
    {"HomeEmail", "chkHomeEmail", "lblHomeEmail", ""},
    {"WorkEmail", "chkWorkEmail", "lblWorkEmail", ""},
    {"HomePhone", "chkHomePhone", "lblHomePhone", ""},
    {"WorkPhone", "chkWorkPhone", "lblWorkPhone", ""},
    {"CellPhone", "chkCellPhone", "lblCellPhone", ""},
    {"SMS", "chkSMS", "lblSMS", "lblSMSProvider"},
    {"AIM", "chkAIM", "lblAIM", ""},
    {"MSN", "chkMSN", "lblMSN", ""},
    {"YAHOO", "chkYahoo", "lblYahoo", ""},
    {"Fax", "chkFax", "lblFax", ""},
}};

namespace {

constexpr const char* kFrame = "frmDevices";

// Captions and widths of the check boxes, row by row.
struct RowDesign {
  const char* caption;
  int width;
};
constexpr std::array<RowDesign, 10> kRowDesign = {{
    {"Home Email", 1215},
    {"Work Email", 1215},
    {"Home Phone", 1215},
    {"Work Phone", 1215},
    {"Cell Phone", 1215},
    {"Text Messaging", 1695},
    {"AIM", 1215},
    {"MSN Messenger", 1455},
    {"Yahoo Messenger", 1575},
    {"Fax", 735},
}};

constexpr int kRowFirstTop = 240;
constexpr int kRowPitch = 360;
constexpr int kCheckBoxLeft = 120;
constexpr int kCheckBoxHeight = 375;
constexpr int kLabelLeft = 3240;
constexpr int kLabelDrop = 90;  // a label sits this far below its check box's top
constexpr int kLabelHeight = 195;
constexpr int kLabelWidth = 2655;     // to the frame's right edge, less the margin
constexpr int kSmsLabelWidth = 1335;  // up to the provider label
constexpr int kProviderLeft = 4680;
constexpr int kProviderWidth = 1215;

Control Make(const char* name, ControlKind kind, const char* caption, int left, int top, int width,
             int height, int tabIndex, const char* container = "") {
  Control c;
  c.name = name;
  c.kind = kind;
  c.caption = caption;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.tabIndex = tabIndex;
  c.container = container;
  return c;
}

}  // namespace

AppointmentDevices::AppointmentDevices() {
  controls_.push_back(Make("lblDescription", ControlKind::kLabel,
                           "Please check reminder devices for this appointment", 105, 120, 3675, 195, 1));
  controls_.push_back(Make(kFrame, ControlKind::kFrame, "Devices", 98, 480, 6015, 3900, 24));
  controls_.push_back(Make("btnOK", ControlKind::kButton, "OK", 1125, 4560, 1215, 375, 23));
  controls_.push_back(Make("btnCancel", ControlKind::kButton, "Cancel", 3645, 4560, 1215, 375, 0));

  int tab = 2;
  for (size_t i = 0; i < kDeviceRows.size(); ++i) {
    const DeviceRow& row = kDeviceRows[i];
    const int top = kRowFirstTop + static_cast<int>(i) * kRowPitch;
    const bool hasExtra = row.extraLabel[0] != '\0';
    controls_.push_back(Make(row.checkBox, ControlKind::kCheckBox, kRowDesign[i].caption, kCheckBoxLeft, top,
                             kRowDesign[i].width, kCheckBoxHeight, tab++, kFrame));
    // The address captions are placeholders; the add-in clears them before showing.
    controls_.push_back(Make(row.addressLabel, ControlKind::kLabel, row.addressLabel, kLabelLeft, top + kLabelDrop,
                             hasExtra ? kSmsLabelWidth : kLabelWidth, kLabelHeight, tab++, kFrame));
    if (hasExtra) {
      controls_.push_back(Make(row.extraLabel, ControlKind::kLabel, row.extraLabel, kProviderLeft,
                               top + kLabelDrop, kProviderWidth, kLabelHeight, tab++, kFrame));
    }
  }
}

const Control* AppointmentDevices::Find(const std::string& name) const {
  for (const Control& c : controls_) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

Control* AppointmentDevices::Find(const std::string& name) {
  return const_cast<Control*>(static_cast<const AppointmentDevices*>(this)->Find(name));
}

const Control& AppointmentDevices::At(const std::string& name) const {
  const Control* c = Find(name);
  if (!c) falcrest::RaiseMissingObject("The device dialog has no control named " + name);
  return *c;
}

Control& AppointmentDevices::At(const std::string& name) {
  return const_cast<Control&>(static_cast<const AppointmentDevices*>(this)->At(name));
}

const DeviceRow* AppointmentDevices::RowFor(const std::string& deviceType) {
  for (const DeviceRow& row : kDeviceRows) {
    if (deviceType == row.deviceType) return &row;
  }
  return nullptr;
}

Control& AppointmentDevices::CheckBoxFor(const std::string& deviceType) {
  const DeviceRow* row = RowFor(deviceType);
  if (!row) falcrest::RaiseMissingObject("The device dialog has no row for the device type " + deviceType);
  return At(row->checkBox);
}

Control& AppointmentDevices::AddressLabelFor(const std::string& deviceType) {
  const DeviceRow* row = RowFor(deviceType);
  if (!row) falcrest::RaiseMissingObject("The device dialog has no row for the device type " + deviceType);
  return At(row->addressLabel);
}

bool AppointmentDevices::IsTicked(const std::string& deviceType) const {
  const DeviceRow* row = RowFor(deviceType);
  return row && At(row->checkBox).value == 1;
}

bool AppointmentDevices::Tick(const std::string& deviceType, bool ticked) {
  const DeviceRow* row = RowFor(deviceType);
  if (!row) return false;
  Control& box = At(row->checkBox);
  if (!box.enabled) return false;
  box.value = ticked ? 1 : 0;
  return true;
}

void AppointmentDevices::SetTicked(const std::string& deviceType, bool ticked) {
  CheckBoxFor(deviceType).value = ticked ? 1 : 0;
}

void AppointmentDevices::btnOK_Click() {
  selectedDevices.clear();
  for (const DeviceRow& row : kDeviceRows) {
    if (At(row.checkBox).value == 1) {
      selectedDevices += row.deviceType;
      selectedDevices += ',';
    }
  }
  if (!selectedDevices.empty() && selectedDevices.back() == ',') selectedDevices.pop_back();
  unloaded_ = true;
}

void AppointmentDevices::btnCancel_Click() {
  selectedDevices.clear();
  unloaded_ = true;
}

}  // namespace reminder
