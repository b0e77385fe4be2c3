#include "optionspage/page/PageLayout.h"

#include <cmath>

#include "library/support/Error.h"

namespace orvane {

const std::array<DeviceRow, 10> kDeviceRows = {{
    {"HomeEmail", "chkHomeEmail", "lblHomeEmail"},
    {"WorkEmail", "chkWorkEmail", "lblWorkEmail"},
    {"HomePhone", "chkHomePhone", "lblHomePhone"},
    {"WorkPhone", "chkWorkPhone", "lblWorkPhone"},
    {"CellPhone", "chkCellPhone", "lblCellPhone"},
    {"SMS", "chkSMS", "lblSMS"},
    {"AIM", "chkAIM", "lblAIM"},
    {"MSN", "chkMSN", "lblMSN"},
    {"YAHOO", "chkYahoo", "lblYahoo"},
    {"Fax", "chkFax", "lblFax"},
}};

namespace {

constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch

// Advance widths in pixels of Tahoma at 11 pixels (8.25 pt), the size the design widths
// of the page's labels were taken at; other sizes scale from it.
int Tahoma11Width(char c) {
  static const char* const kByWidth[] = {
      /*0*/ "", /*1*/ "", /*2*/ "ijl.,:;'!|", /*3*/ " `\"", /*4*/ "frtIJ()[]{}-/\\",
      /*5*/ "cksyzL*", /*6*/ "abdeghnopquvxBEFKPRSTVXYZ0123456789?_=+<>$^~#",
      /*7*/ "ACDGHNOQU", /*8*/ "mwM%&@", /*9*/ "", /*10*/ "W"};
  for (int width = 0; width <= 10; ++width) {
    for (const char* p = kByWidth[width]; *p; ++p) {
      if (*p == c) return width;
    }
  }
  return 6;  // anything else, including the bytes of multi-byte characters
}

// One row of the device frame: check box caption, Top and width, address label caption
// and width.
struct RowDesign {
  const char* boxCaption;
  int boxTop;
  int boxWidth;
  const char* labelCaption;
  int labelWidth;
};

constexpr RowDesign kRowDesigns[10] = {
    {"Home Email", 240, 1215, "Home Email", 810},
    {"Work Email", 600, 1215, "Work Email", 780},
    {"Home Phone", 960, 1215, "Home Phone", 900},
    {"Work Phone", 1320, 1215, "Work Phone", 870},
    {"Cell Phone", 1680, 1215, "Cell Phone", 750},
    {"Text Messaging", 2040, 1575, "SMS", 300},
    {"AIM", 2400, 1215, "AIM Screen Name", 1275},
    {"MSN Messenger", 2760, 1455, "MSN Messenger Account", 1770},
    {"Yahoo Messenger", 3120, 1575, "Yahoo Messenger ID", 1485},
    {"Fax", 3480, 1335, "Fax", 270},
};

Control Make(const char* name, ControlKind kind, const char* caption, int left, int top, int width,
             int height, int tabIndex) {
  Control control;
  control.name = name;
  control.kind = kind;
  control.caption = caption;
  control.left = left;
  control.top = top;
  control.width = width;
  control.height = height;
  control.tabIndex = tabIndex;
  control.autoSize = kind == ControlKind::kLabel;
  return control;
}

Control InFrame(Control control) {
  control.container = "frmDevices";
  return control;
}

}  // namespace

int MeasureCaption(const std::string& caption, double fontSize) {
  int pixels = 0;
  for (char c : caption) pixels += Tahoma11Width(c);
  const double fontPixels = std::round(fontSize * 96.0 / 72.0);
  return static_cast<int>(std::lround(pixels * fontPixels / 11.0)) * kTwipsPerPixel;
}

PageLayout::PageLayout() {
  using K = ControlKind;
  controls_.push_back(Make("lblUserID", K::kLabel, "User ID", 120, 420, 540, 195, 0));
  controls_.push_back(Make("txtUserID", K::kTextBox, "", 1200, 360, 1815, 315, 1));
  controls_.push_back(Make("lblPassword", K::kLabel, "Password", 3240, 420, 690, 195, 2));
  Control password = Make("txtPassword", K::kTextBox, "", 4320, 360, 1815, 315, 3);
  password.passwordChar = "*";
  controls_.push_back(password);

  int tabIndex = 4;
  for (size_t row = 0; row < kDeviceRows.size(); ++row) {
    const RowDesign& design = kRowDesigns[row];
    controls_.push_back(InFrame(Make(kDeviceRows[row].checkBox, K::kCheckBox, design.boxCaption, 120,
                                     design.boxTop, design.boxWidth, 375, tabIndex++)));
    controls_.push_back(InFrame(Make(kDeviceRows[row].addressLabel, K::kLabel, design.labelCaption, 3240,
                                     design.boxTop + 90, design.labelWidth, 195, tabIndex++)));
    if (std::string(kDeviceRows[row].deviceType) == "SMS") {
      controls_.push_back(InFrame(Make("lblSMSProvider", K::kLabel, "(SMS Provider)", 4680,
                                       design.boxTop + 90, 1065, 195, tabIndex++)));
    }
  }

  controls_.push_back(Make("frmDevices", K::kFrame, "Devices", 120, 960, 6015, 3900, 25));
  Control link = Make("lblHyperlink", K::kLabel, kSignUpCaption, 3960, 5040, 2175, 210, 26);
  link.foreColour = Colour{0, 0, 192};
  link.fontSize = 9;
  controls_.push_back(link);
}

const Control& PageLayout::At(const std::string& name) const {
  for (const Control& control : controls_) {
    if (control.name == name) return control;
  }
  falcrest::RaiseMissingObject("The settings page has no control named " + name);
}

Control& PageLayout::At(const std::string& name) {
  return const_cast<Control&>(static_cast<const PageLayout&>(*this).At(name));
}

void PageLayout::SetLabelCaption(const std::string& name, const std::string& caption) {
  Control& label = At(name);
  if (label.caption == caption) return;
  label.caption = caption;
  if (label.autoSize) label.width = MeasureCaption(caption, label.fontSize);
}

}  // namespace orvane
