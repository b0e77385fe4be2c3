// The device choice of one save: preparing and showing the dialog, and turning the chosen
// device types into the member's device records.
#include "addin/ReminderDesigner.h"
#include "addin/dialog/DeviceDialogView.h"
#include "library/constants/DeviceTypes.h"
#include "library/constants/SettingsKey.h"
#include "library/support/Error.h"

namespace reminder {

namespace {

constexpr const char* kSms = "SMS";

[[noreturn]] void RaiseTooManyDevices() {
  falcrest::RaiseSubscriptOutOfRange("Too many devices were chosen for one reminder (at most 10)");
}

}  // namespace

std::string ReminderDesigner::ChooseDevices() {
  AppointmentDevices dialog;
  PrepareDeviceForm(dialog);
  // Without a view the dialog cannot be shown: the same as closing it, a cancel.
  if (DeviceDialogView* view = CurrentDeviceDialogView()) view->ShowModal(dialog);
  return dialog.selectedDevices;
}

void ReminderDesigner::PrepareDeviceForm(AppointmentDevices& dialog) {
  const std::string defaults = Setting(falcrest::kDeviceValue);

  for (const DeviceRow& row : kDeviceRows) dialog.At(row.checkBox).enabled = false;
  for (const DeviceRow& row : kDeviceRows) {
    dialog.At(row.addressLabel).caption.clear();
    if (row.extraLabel[0] != '\0') dialog.At(row.extraLabel).caption.clear();
  }

  PrepareServiceCall();
  for (const DeviceRow& row : kDeviceRows) {
    std::shared_ptr<falcrest::DeviceType> dev = Service().GetOneMemberDevice(Credentials(), row.deviceType);
    if (!dev) continue;
    dialog.At(row.addressLabel).caption = dev->DeviceAddress;
    dialog.At(row.checkBox).enabled = true;
    if (row.extraLabel[0] != '\0') dialog.At(row.extraLabel).caption = "(" + dev->ServiceProviderName + ")";
  }

  for (const DeviceRow& row : kDeviceRows) dialog.At(row.checkBox).value = 0;

  // Pre-tick the defaults the member has a device with an address for; entries are compared
  // exactly, so " Fax" or "fax" tick nothing.
  for (const std::string& entry : falcrest::SplitDeviceList(defaults)) {
    for (const DeviceRow& row : kDeviceRows) {
      if (entry == row.deviceType && !dialog.At(row.addressLabel).caption.empty()) dialog.At(row.checkBox).value = 1;
    }
  }
}

falcrest::RecordArray<falcrest::DeviceType> ReminderDesigner::BuildMemberDevices(const std::string& chosenTypes,
                                                                               int& n) {
  std::vector<DeviceSlot> table(kDeviceSlots);
  n = 0;
  for (const std::string& name : falcrest::SplitDeviceList(chosenTypes)) {
    std::shared_ptr<falcrest::DeviceType> dev = Service().GetOneMemberDevice(Credentials(), name);
    if (!dev) continue;
    const bool sms = name == kSms;
    // A device that cannot carry the reminder is dropped: an SMS device with neither an
    // address nor a provider, any other with an empty address or one that is only "|".
    const bool unusable = sms ? dev->DeviceAddress.empty() && dev->ServiceProviderName.empty()
                              : dev->DeviceAddress.empty() || dev->DeviceAddress == "|";
    if (unusable) continue;
    if (n >= kDeviceSlots) RaiseTooManyDevices();
    table[n].type = name;
    table[n].address = dev->DeviceAddress;
    if (sms) table[n].provider = dev->ServiceProviderName;
    ++n;
  }

  // One record more than kept: the last one stays empty, as the member's XML form expects,
  // so a full table leaves no slot for it.
  if (n >= kDeviceSlots) RaiseTooManyDevices();
  falcrest::RecordArray<falcrest::DeviceType> devices(0, n);
  for (int i = 0; i <= n; ++i) {
    auto device = std::make_shared<falcrest::DeviceType>();
    device->DeviceType = table[i].type;
    device->DeviceAddress = table[i].address;
    if (table[i].type == kSms) device->ServiceProviderName = table[i].provider;
    devices.Set(i, device);
  }
  return devices;
}

}  // namespace reminder
