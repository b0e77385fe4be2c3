#pragma once
// The controls of the settings page kept as data: every view (terminal, scripted, Win32
// later) renders them, and the page's handlers change them. Positions and sizes are in
// twips, relative to the page's client area or, for the device rows, to frmDevices.
#include <array>
#include <string>
#include <vector>

namespace orvane {

enum class ControlKind { kLabel, kTextBox, kFrame, kCheckBox };

struct Colour {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Colour& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

struct Control {
  std::string name;  // "txtUserID", "chkHomeEmail", "lblSMSProvider" ...
  ControlKind kind = ControlKind::kLabel;
  std::string caption;  // the text of a label, frame or check box, the contents of a text box
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int tabIndex = 0;
  std::string fontName = "Tahoma";
  double fontSize = 8.25;
  bool fontUnderline = false;
  Colour foreColour;  // black unless designed otherwise
  bool enabled = true;
  int value = 0;              // check boxes: 0 unchecked, 1 checked, 2 grayed
  std::string passwordChar;   // text boxes: shown instead of each character when not empty
  std::string container;      // "" for the page, "frmDevices" for the device rows
  bool autoSize = false;      // labels size themselves to their captions
};

// One device row: the device type name as the service knows it and its controls' names.
struct DeviceRow {
  const char* deviceType;    // "HomeEmail" ... "Fax"
  const char* checkBox;      // "chkHomeEmail"
  const char* addressLabel;  // "lblHomeEmail"
};

// The ten rows, top to bottom, in the order of every loop over device types.
extern const std::array<DeviceRow, 10> kDeviceRows;

inline constexpr const char* kSignUpCaption = "Sign Up for a free account";
inline constexpr const char* kSetUpDevicesCaption = "Set Up Devices";
inline constexpr int kPageWidth = 6300;
inline constexpr int kPageHeight = 5490;

// Width in twips that a label of this caption takes in Tahoma of that size.
int MeasureCaption(const std::string& caption, double fontSize);

class PageLayout {
 public:
  // The page as designed: design captions, every control enabled, every box unchecked.
  PageLayout();

  // Every control in tab order (tab index 0 to 26).
  const std::vector<Control>& Controls() const { return controls_; }
  // The control of that name; missing-object error (91) when there is none.
  Control& At(const std::string& name);
  const Control& At(const std::string& name) const;

  Control& CheckBox(size_t row) { return At(kDeviceRows.at(row).checkBox); }
  const Control& CheckBox(size_t row) const { return At(kDeviceRows.at(row).checkBox); }
  Control& AddressLabel(size_t row) { return At(kDeviceRows.at(row).addressLabel); }
  const Control& AddressLabel(size_t row) const { return At(kDeviceRows.at(row).addressLabel); }

  // Sets a label's caption; an auto-sized label takes the width of its new caption.
  void SetLabelCaption(const std::string& name, const std::string& caption);

 private:
  std::vector<Control> controls_;
};

}  // namespace orvane
