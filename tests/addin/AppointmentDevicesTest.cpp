// The device dialog as data: its layout as designed, and what OK, Cancel and Close leave.
#include <gtest/gtest.h>

#include <set>

#include "addin/dialog/AppointmentDevices.h"

namespace addin_test {
namespace {

using reminder::AppointmentDevices;
using reminder::ControlKind;

TEST(AppointmentDevices, LayoutAsDesigned) {
  struct Row {
    const char* name;
    ControlKind kind;
    const char* caption;  // nullptr: a placeholder, not checked
    int left, top, width, height, tab;
    const char* container;
  };
  const Row rows[] = {
      {"lblDescription", ControlKind::kLabel, "Please check reminder devices for this appointment", 105, 120, 3675, 195, 1, ""},
      {"frmDevices", ControlKind::kFrame, "Devices", 98, 480, 6015, 3900, 24, ""},
      {"btnOK", ControlKind::kButton, "OK", 1125, 4560, 1215, 375, 23, ""},
      {"btnCancel", ControlKind::kButton, "Cancel", 3645, 4560, 1215, 375, 0, ""},
      {"chkHomeEmail", ControlKind::kCheckBox, "Home Email", 120, 240, 1215, 375, 2, "frmDevices"},
      {"lblHomeEmail", ControlKind::kLabel, nullptr, 3240, 330, -1, 195, 3, "frmDevices"},
      {"chkWorkEmail", ControlKind::kCheckBox, "Work Email", 120, 600, 1215, 375, 4, "frmDevices"},
      {"chkHomePhone", ControlKind::kCheckBox, "Home Phone", 120, 960, 1215, 375, 6, "frmDevices"},
      {"chkWorkPhone", ControlKind::kCheckBox, "Work Phone", 120, 1320, 1215, 375, 8, "frmDevices"},
      {"chkCellPhone", ControlKind::kCheckBox, "Cell Phone", 120, 1680, 1215, 375, 10, "frmDevices"},
      {"chkSMS", ControlKind::kCheckBox, "Text Messaging", 120, 2040, 1695, 375, 12, "frmDevices"},
      {"lblSMS", ControlKind::kLabel, nullptr, 3240, 2130, -1, 195, 13, "frmDevices"},
      {"lblSMSProvider", ControlKind::kLabel, nullptr, 4680, 2130, -1, 195, 14, "frmDevices"},
      {"chkAIM", ControlKind::kCheckBox, "AIM", 120, 2400, 1215, 375, 15, "frmDevices"},
      {"chkMSN", ControlKind::kCheckBox, "MSN Messenger", 120, 2760, 1455, 375, 17, "frmDevices"},
      {"chkYahoo", ControlKind::kCheckBox, "Yahoo Messenger", 120, 3120, 1575, 375, 19, "frmDevices"},
      {"lblYahoo", ControlKind::kLabel, nullptr, 3240, 3210, -1, 195, 20, "frmDevices"},
      {"chkFax", ControlKind::kCheckBox, "Fax", 120, 3480, 735, 375, 21, "frmDevices"},
      {"lblFax", ControlKind::kLabel, nullptr, 3240, 3570, -1, 195, 22, "frmDevices"},
  };
  const AppointmentDevices dialog;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const reminder::Control* c = dialog.Find(row.name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->kind, row.kind);
    if (row.caption) {
      EXPECT_EQ(c->caption, row.caption);
    }
    EXPECT_EQ(c->left, row.left);
    EXPECT_EQ(c->top, row.top);
    if (row.width >= 0) {
      EXPECT_EQ(c->width, row.width);
    }
    EXPECT_EQ(c->height, row.height);
    EXPECT_EQ(c->tabIndex, row.tab);
    EXPECT_EQ(c->container, row.container);
    EXPECT_TRUE(c->enabled);
    EXPECT_EQ(c->value, 0);
  }
  EXPECT_EQ(dialog.Caption(), "Appointment Devices");
  EXPECT_EQ(AppointmentDevices::kClientWidth, 6210);
  EXPECT_EQ(AppointmentDevices::kClientHeight, 5145);
  EXPECT_EQ(dialog.DialogFont().name, "Tahoma");
  EXPECT_DOUBLE_EQ(dialog.DialogFont().size, 8.25);
  EXPECT_TRUE(dialog.selectedDevices.empty());
  EXPECT_FALSE(dialog.Unloaded());

  // 25 controls, tab indexes 0 to 24 each used once.
  std::set<int> tabs;
  for (const reminder::Control& c : dialog.Controls()) tabs.insert(c.tabIndex);
  EXPECT_EQ(dialog.Controls().size(), 25u);
  EXPECT_EQ(tabs.size(), 25u);
  EXPECT_EQ(*tabs.rbegin(), 24);
}

TEST(AppointmentDevices, OkListsTheTickedTypesInRowOrder) {
  struct Row {
    std::vector<std::string> ticks;
    std::string expected;
  };
  const std::vector<Row> rows = {
      {{}, ""},
      {{"Fax"}, "Fax"},
      {{"Fax", "SMS", "HomeEmail"}, "HomeEmail,SMS,Fax"},
      {{"YAHOO", "MSN", "AIM"}, "AIM,MSN,YAHOO"},
      {{"Fax", "YAHOO", "MSN", "AIM", "SMS", "CellPhone", "WorkPhone", "HomePhone", "WorkEmail", "HomeEmail"},
       "HomeEmail,WorkEmail,HomePhone,WorkPhone,CellPhone,SMS,AIM,MSN,YAHOO,Fax"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    AppointmentDevices dialog;
    dialog.selectedDevices = "stale";
    for (const std::string& type : row.ticks) EXPECT_TRUE(dialog.Tick(type, true));
    dialog.btnOK_Click();
    EXPECT_EQ(dialog.selectedDevices, row.expected);
    EXPECT_TRUE(dialog.Unloaded());
  }
}

TEST(AppointmentDevices, CancelAndCloseChooseNothing) {
  AppointmentDevices cancelled;
  cancelled.Tick("HomeEmail", true);
  cancelled.selectedDevices = "HomeEmail";
  cancelled.btnCancel_Click();
  EXPECT_EQ(cancelled.selectedDevices, "");
  EXPECT_TRUE(cancelled.Unloaded());

  AppointmentDevices closed;
  closed.Tick("HomeEmail", true);
  closed.Close();
  EXPECT_EQ(closed.selectedDevices, "");
  EXPECT_TRUE(closed.Unloaded());
}

TEST(AppointmentDevices, TheUserCannotTickADisabledOrUnknownBox) {
  AppointmentDevices dialog;
  dialog.CheckBoxFor("SMS").enabled = false;
  EXPECT_FALSE(dialog.Tick("SMS", true));
  EXPECT_FALSE(dialog.Tick("Yahoo", true)) << "type names compare exactly";
  EXPECT_FALSE(dialog.IsTicked("SMS"));
  dialog.SetTicked("SMS", true);  // the add-in's preparation may
  EXPECT_TRUE(dialog.IsTicked("SMS"));
  EXPECT_EQ(dialog.AddressLabelFor("YAHOO").name, "lblYahoo");
  EXPECT_EQ(AppointmentDevices::RowFor("homeemail"), nullptr);
}

}  // namespace
}  // namespace addin_test
