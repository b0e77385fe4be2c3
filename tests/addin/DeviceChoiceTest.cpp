// The device dialog as the add-in prepares it, and the devices a save sends.
#include "AddinFixture.h"

namespace addin_test {
namespace {

// The devices of a create or modify body, each as "type[address][provider]".
std::vector<std::string> SentDevices(const std::string& body) {
  std::vector<std::string> devices;
  const std::string open = "<Device>", close = "</Device>";
  for (size_t at = body.find(open); at != std::string::npos; at = body.find(open, at + 1)) {
    const std::string device = body.substr(at, body.find(close, at) - at);
    devices.push_back(ElementText(device, "DeviceType") + "[" + ElementText(device, "DeviceAddress") + "][" +
                      ElementText(device, "ServiceProviderName") + "]");
  }
  return devices;
}

using DeviceChoice = AddinTest;

TEST_F(DeviceChoice, TheDialogOffersRegisteredDevicesAndTicksTheDefaults) {
  service.SetDevice("WorkPhone", "");  // registered without an address
  // Listed but unusable: no Fax device, wrong case, blanks, an empty piece.
  StoreSetting(falcrest::kDeviceValue, "Fax,WorkPhone,homeemail, SMS,,SMS,HomeEmail");
  Connect();
  Track()->RaiseWrite();

  ASSERT_EQ(view.shown.size(), 1u);
  reminder::AppointmentDevices& dialog = view.shown[0];
  struct Row {
    const char* type;
    bool enabled;
    bool ticked;
    const char* address;
  };
  const Row rows[] = {
      {"HomeEmail", true, true, "demo@example.com"}, {"WorkEmail", false, false, ""},
      {"HomePhone", false, false, ""},               {"WorkPhone", true, false, ""},
      {"CellPhone", false, false, ""},               {"SMS", true, true, "5551234"},
      {"AIM", false, false, ""},                     {"MSN", false, false, ""},
      {"YAHOO", false, false, ""},                   {"Fax", false, false, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    EXPECT_EQ(dialog.CheckBoxFor(row.type).enabled, row.enabled);
    EXPECT_EQ(dialog.IsTicked(row.type), row.ticked);
    EXPECT_EQ(dialog.AddressLabelFor(row.type).caption, row.address);
  }
  EXPECT_EQ(dialog.At("lblSMSProvider").caption, "(Acme)");

  // One look-up per device type, in row order, before the dialog shows.
  std::vector<std::string> asked;
  for (const ServiceCall& call : service.CallsOf("GetOneMemberDevice")) asked.push_back(ElementText(call.body, "deviceType"));
  ASSERT_GE(asked.size(), 10u);
  asked.resize(10);
  EXPECT_EQ(asked, (std::vector<std::string>{"HomeEmail", "WorkEmail", "HomePhone", "WorkPhone", "CellPhone", "SMS",
                                             "AIM", "MSN", "YAHOO", "Fax"}));
}

TEST_F(DeviceChoice, AMemberWithoutDevicesGetsNothingToTick) {
  service.RemoveDevice("HomeEmail");
  service.RemoveDevice("SMS");
  StoreSetting(falcrest::kDeviceValue, "HomeEmail,SMS");
  Connect();
  view.answers.push_back({{"HomeEmail", "Fax"}, {}, DialogAnswer::kOK});
  Track()->RaiseWrite();
  ASSERT_EQ(view.shown.size(), 1u);
  for (const reminder::DeviceRow& row : reminder::kDeviceRows) {
    EXPECT_FALSE(view.shown[0].At(row.checkBox).enabled) << row.deviceType;
    EXPECT_EQ(view.shown[0].At(row.addressLabel).caption, "") << row.deviceType;
  }
  EXPECT_EQ(view.shown[0].At("lblSMSProvider").caption, "");
  EXPECT_EQ(view.refusedTicks, 2);
  EXPECT_EQ(service.Methods().size(), 10u) << "nothing chosen, nothing sent";
  EXPECT_TRUE(windowing.boxes.empty());
}

TEST_F(DeviceChoice, OneSaveCostsTenLookUpsOnePerChosenTypeAndOneCreate) {
  StoreSetting(falcrest::kDeviceValue, "SMS,HomeEmail");
  Connect();
  Track()->RaiseWrite();
  std::vector<std::string> expected(12, "GetOneMemberDevice");
  expected.push_back("CreateReminder");
  EXPECT_EQ(service.Methods(), expected);
  const std::string body = service.CallsOf("CreateReminder").at(0).body;
  // Sent in table order, the last spare slot not written.
  EXPECT_EQ(SentDevices(body), (std::vector<std::string>{"HomeEmail[demo@example.com][]", "SMS[5551234][Acme]"}));
  EXPECT_TRUE(windowing.boxes.empty());
}

TEST_F(DeviceChoice, DevicesThatCannotCarryTheReminderAreDropped) {
  struct Row {
    const char* name;
    std::vector<std::string> ticks;
    std::function<void(ScriptedService&)> meanwhile;  // while the dialog is up
    std::vector<std::string> sent;                    // empty: no create at all
  };
  const std::vector<Row> rows = {
      {"device removed meanwhile", {"HomeEmail", "SMS"}, [](ScriptedService& s) { s.RemoveDevice("HomeEmail"); },
       {"SMS[5551234][Acme]"}},
      {"address emptied meanwhile", {"HomeEmail", "SMS"},
       [](ScriptedService& s) { s.SetDevice("HomeEmail", ""); }, {"SMS[5551234][Acme]"}},
      {"SMS with a provider only", {"SMS"}, [](ScriptedService& s) { s.SetDevice("SMS", "", "Acme"); },
       {"SMS[][Acme]"}},
      {"SMS with an address only", {"SMS"}, [](ScriptedService& s) { s.SetDevice("SMS", "5551234", ""); },
       {"SMS[5551234][]"}},
      {"SMS with neither", {"HomeEmail", "SMS"}, [](ScriptedService& s) { s.SetDevice("SMS", "", ""); },
       {"HomeEmail[demo@example.com][]"}},
      {"bars kept whole", {"SMS"}, [](ScriptedService& s) { s.SetDevice("SMS", "555|1234", "Ac|me"); },
       {"SMS[555|1234][Ac|me]"}},
      {"a lone bar as the SMS address", {"SMS"}, [](ScriptedService& s) { s.SetDevice("SMS", "|", ""); },
       {"SMS[|][]"}},
      {"a lone bar as another address", {"HomeEmail", "SMS"}, [](ScriptedService& s) { s.SetDevice("HomeEmail", "|"); },
       {"SMS[5551234][Acme]"}},
      {"a bar within another address", {"HomeEmail"}, [](ScriptedService& s) { s.SetDevice("HomeEmail", "a|b"); },
       {"HomeEmail[a|b][]"}},
      {"every device dropped", {"HomeEmail", "SMS"},
       [](ScriptedService& s) {
         s.RemoveDevice("HomeEmail");
         s.SetDevice("SMS", "", "");
       },
       {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    service.SetDevice("HomeEmail", "demo@example.com");
    service.SetDevice("SMS", "5551234", "Acme");
    service.ClearCalls();
    view.answers.push_back({row.ticks, {}, DialogAnswer::kOK});
    view.whileShown = [&] { row.meanwhile(service); };
    if (!designer) Connect();
    Track()->RaiseWrite();
    const auto creates = service.CallsOf("CreateReminder");
    if (row.sent.empty()) {
      EXPECT_TRUE(creates.empty());
    } else {
      ASSERT_EQ(creates.size(), 1u);
      EXPECT_EQ(SentDevices(creates[0].body), row.sent);
    }
    EXPECT_EQ(service.CallsOf("GetOneMemberDevice").size(), 10u + row.ticks.size());
    EXPECT_TRUE(windowing.boxes.empty());
  }
}

TEST_F(DeviceChoice, AModifyWithEveryDeviceDroppedSendsNothing) {
  service.SetReminderId(42);
  view.answers.push_back({{"HomeEmail"}, {}, DialogAnswer::kOK});
  view.whileShown = [&] { service.RemoveDevice("HomeEmail"); };
  Connect();
  auto appointment = Track();
  appointment->RaiseOpen();
  appointment->RaiseWrite();
  EXPECT_TRUE(service.CallsOf("ModifyReminderByEventId").empty());
  EXPECT_TRUE(service.CallsOf("CreateReminder").empty());
  EXPECT_TRUE(windowing.boxes.empty());
}

TEST_F(DeviceChoice, CancelCloseNothingTickedOrNoViewSendNothing) {
  struct Row {
    const char* name;
    DialogAnswer answer;
    bool withView;
  };
  const std::vector<Row> rows = {
      {"cancel", {{"SMS"}, {}, DialogAnswer::kCancel}, true},
      {"close", {{"SMS"}, {}, DialogAnswer::kClose}, true},
      {"nothing ticked", {{}, {"HomeEmail"}, DialogAnswer::kOK}, true},
      {"no view installed", {}, false},
  };
  StoreSetting(falcrest::kDeviceValue, "HomeEmail");
  service.SetReminderId(42);
  Connect();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    reminder::InstallDeviceDialogView(row.withView ? &view : nullptr);
    view.answers.push_back(row.answer);
    auto appointment = Track();
    appointment->RaiseOpen();
    service.ClearCalls();
    appointment->RaiseWrite();
    EXPECT_EQ(service.Methods(), std::vector<std::string>(10, "GetOneMemberDevice"));
    EXPECT_TRUE(windowing.boxes.empty());
    // The slot was cleared: saving again without reopening creates.
    view.answers.clear();
    reminder::InstallDeviceDialogView(&view);
    service.ClearCalls();
    appointment->RaiseWrite();
    EXPECT_EQ(service.CallsOf("CreateReminder").size(), 1u);
    EXPECT_TRUE(service.CallsOf("ModifyReminderByEventId").empty());
  }
}

// The device table holds the chosen devices and one spare slot: a list that keeps more
// devices than the dialog's ten rows ends in an out-of-range error, and nothing is sent.
TEST_F(DeviceChoice, MoreKeptDevicesThanTheTableHoldsAreAnError) {
  struct ListView : reminder::DeviceDialogView {
    void ShowModal(reminder::AppointmentDevices& dialog) override {
      dialog.selectedDevices = list;
      dialog.Close();
    }
    std::string list;
  };
  const struct {
    int entries;
    bool sent;
  } rows[] = {{10, true}, {11, false}, {12, false}};
  Connect();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.entries);
    ListView listView;
    for (int i = 0; i < row.entries; ++i) listView.list += i ? ",HomeEmail" : "HomeEmail";
    reminder::InstallDeviceDialogView(&listView);
    service.ClearCalls();
    windowing.boxes.clear();
    Track()->RaiseWrite();
    reminder::InstallDeviceDialogView(&view);
    EXPECT_EQ(service.CallsOf("GetOneMemberDevice").size(), 10u + row.entries);
    if (row.sent) {
      ASSERT_EQ(service.CallsOf("CreateReminder").size(), 1u);
      EXPECT_EQ(SentDevices(service.CallsOf("CreateReminder")[0].body).size(), 10u);
      EXPECT_TRUE(windowing.boxes.empty());
    } else {
      EXPECT_TRUE(service.CallsOf("CreateReminder").empty());
      ASSERT_EQ(windowing.boxes.size(), 1u);
      EXPECT_EQ(windowing.boxes[0].text, "Too many devices were chosen for one reminder (at most 10)");
      EXPECT_EQ(windowing.boxes[0].caption, "Reminder Add-In Error");
    }
  }
}

}  // namespace
}  // namespace addin_test
