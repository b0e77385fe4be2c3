// The page's controls as designed, in one table.
#include <gtest/gtest.h>

#include "optionspage/page/PageLayout.h"

namespace {

using orvane::ControlKind;

TEST(PageLayoutTest, ControlsAsDesignedInTabOrder) {
  const struct {
    const char* name;
    ControlKind kind;
    const char* caption;
    int left, top, width, height;
    const char* container;
  } rows[] = {
      {"lblUserID", ControlKind::kLabel, "User ID", 120, 420, 540, 195, ""},
      {"txtUserID", ControlKind::kTextBox, "", 1200, 360, 1815, 315, ""},
      {"lblPassword", ControlKind::kLabel, "Password", 3240, 420, 690, 195, ""},
      {"txtPassword", ControlKind::kTextBox, "", 4320, 360, 1815, 315, ""},
      {"chkHomeEmail", ControlKind::kCheckBox, "Home Email", 120, 240, 1215, 375, "frmDevices"},
      {"lblHomeEmail", ControlKind::kLabel, "Home Email", 3240, 330, 810, 195, "frmDevices"},
      {"chkWorkEmail", ControlKind::kCheckBox, "Work Email", 120, 600, 1215, 375, "frmDevices"},
      {"lblWorkEmail", ControlKind::kLabel, "Work Email", 3240, 690, 780, 195, "frmDevices"},
      {"chkHomePhone", ControlKind::kCheckBox, "Home Phone", 120, 960, 1215, 375, "frmDevices"},
      {"lblHomePhone", ControlKind::kLabel, "Home Phone", 3240, 1050, 900, 195, "frmDevices"},
      {"chkWorkPhone", ControlKind::kCheckBox, "Work Phone", 120, 1320, 1215, 375, "frmDevices"},
      {"lblWorkPhone", ControlKind::kLabel, "Work Phone", 3240, 1410, 870, 195, "frmDevices"},
      {"chkCellPhone", ControlKind::kCheckBox, "Cell Phone", 120, 1680, 1215, 375, "frmDevices"},
      {"lblCellPhone", ControlKind::kLabel, "Cell Phone", 3240, 1770, 750, 195, "frmDevices"},
      {"chkSMS", ControlKind::kCheckBox, "Text Messaging", 120, 2040, 1575, 375, "frmDevices"},
      {"lblSMS", ControlKind::kLabel, "SMS", 3240, 2130, 300, 195, "frmDevices"},
      {"lblSMSProvider", ControlKind::kLabel, "(SMS Provider)", 4680, 2130, 1065, 195, "frmDevices"},
      {"chkAIM", ControlKind::kCheckBox, "AIM", 120, 2400, 1215, 375, "frmDevices"},
      {"lblAIM", ControlKind::kLabel, "AIM Screen Name", 3240, 2490, 1275, 195, "frmDevices"},
      {"chkMSN", ControlKind::kCheckBox, "MSN Messenger", 120, 2760, 1455, 375, "frmDevices"},
      {"lblMSN", ControlKind::kLabel, "MSN Messenger Account", 3240, 2850, 1770, 195, "frmDevices"},
      {"chkYahoo", ControlKind::kCheckBox, "Yahoo Messenger", 120, 3120, 1575, 375, "frmDevices"},
      {"lblYahoo", ControlKind::kLabel, "Yahoo Messenger ID", 3240, 3210, 1485, 195, "frmDevices"},
      {"chkFax", ControlKind::kCheckBox, "Fax", 120, 3480, 1335, 375, "frmDevices"},
      {"lblFax", ControlKind::kLabel, "Fax", 3240, 3570, 270, 195, "frmDevices"},
      {"frmDevices", ControlKind::kFrame, "Devices", 120, 960, 6015, 3900, ""},
      {"lblHyperlink", ControlKind::kLabel, "Sign Up for a free account", 3960, 5040, 2175, 210, ""},
  };
  const orvane::PageLayout layout;
  ASSERT_EQ(layout.Controls().size(), std::size(rows));
  for (size_t i = 0; i < std::size(rows); ++i) {
    const auto& row = rows[i];
    const orvane::Control& control = layout.Controls()[i];
    EXPECT_EQ(control.name, row.name) << "tab index " << i;
    EXPECT_EQ(control.tabIndex, static_cast<int>(i)) << row.name;
    EXPECT_EQ(control.kind, row.kind) << row.name;
    EXPECT_EQ(control.caption, row.caption) << row.name;
    EXPECT_EQ(control.left, row.left) << row.name;
    EXPECT_EQ(control.top, row.top) << row.name;
    EXPECT_EQ(control.width, row.width) << row.name;
    EXPECT_EQ(control.height, row.height) << row.name;
    EXPECT_EQ(control.container, row.container) << row.name;
    const bool link = control.name == "lblHyperlink";
    EXPECT_EQ(control.fontSize, link ? 9.0 : 8.25) << row.name;
    EXPECT_EQ(control.foreColour, (link ? orvane::Colour{0, 0, 192} : orvane::Colour{})) << row.name;
    EXPECT_EQ(control.passwordChar, control.name == "txtPassword" ? "*" : "") << row.name;
    // Labels size themselves; the design widths are those of their captions.
    if (control.autoSize && !link) {
      EXPECT_EQ(orvane::MeasureCaption(control.caption, control.fontSize), control.width) << row.name;
    }
  }
}

}  // namespace
