#include "optionspage/page/ReminderSetting.h"

#include <array>
#include <exception>
#include <optional>

#include "addin/objectmodel/Windowing.h"
#include "library/constants/DeviceTypes.h"
#include "library/constants/SettingsKey.h"
#include "library/constants/SystemConst.h"
#include "library/digest/Base64Class.h"
#include "library/digest/MD5HashClass.h"
#include "library/records/LicenseType.h"
#include "library/registry/RegistryClass.h"
#include "library/service/ServiceAddress.h"
#include "library/service/WebService.h"
#include "library/support/Error.h"
#include "optionspage/SettingsStore.h"

namespace orvane {

namespace {

constexpr const char* kErrorCaption = "Add-In Error";
constexpr const char* kMessageCaption = "Add-In Message";
constexpr const char* kReopenMessage =
    "Please close Options and reopen it to get all devices setting from tarvanel";

void ShowError(const std::string& description) {
  ui::Current().MessageBox(description, kErrorCaption, ui::Icon::kCritical);
}

// Runs one entry point of the page: any error becomes the "Add-In Error" message.
// Returns false when an error was shown.
template <typename Body>
bool Guarded(Body body) {
  try {
    body();
    return true;
  } catch (const falcrest::Error& error) {
    ShowError(error.Description());
  } catch (const std::exception& error) {
    ShowError(error.what());
  } catch (...) {
    ShowError("An unexpected error stopped the Tarvanel Reminder settings page");
  }
  return false;
}

// scheme://host[:port] of the service URL, where the service's web pages live; those of
// the default service when the URL is empty or names no scheme.
std::string WebHost(std::string url) {
  size_t scheme = url.find("://");
  if (scheme == std::string::npos || scheme == 0) {
    url = falcrest::kDefaultServiceUrl;
    scheme = url.find("://");
  }
  return url.substr(0, url.find_first_of("/?#", scheme + 3));
}

}  // namespace

ReminderSetting::ReminderSetting() {
  if (!Guarded([this] { Initialize(); })) startupFailed_ = true;
}

void ReminderSetting::Initialize() {
  const falcrest::Base64Class base64;
  const falcrest::MD5HashClass md5;
  state_.PageDirty = false;
  state_.SiteReady = false;

  const falcrest::RegistryClass settings = OpenSettings();
  EnsureDefaults(settings);

  SetUserIdText(settings.GetData(falcrest::kUserIdValue));
  std::string storedPassword = settings.GetData(falcrest::kPasswordValue);
  SetPasswordText(storedPassword.empty() ? std::string() : base64.Decode64(storedPassword));

  const std::string serviceUrl = settings.GetData(falcrest::kWebServiceUrlValue);
  const std::string deviceList = settings.GetData(falcrest::kDeviceValue);

  for (size_t row = 0; row < kDeviceRows.size(); ++row) {
    layout_.CheckBox(row).enabled = false;
    layout_.SetLabelCaption(kDeviceRows[row].addressLabel, "");
  }
  layout_.SetLabelCaption("lblSMSProvider", "");

  state_.LoadedUserID = UserIdText();
  state_.LoadedPassword = PasswordText();

  if (!UserIdText().empty() && !PasswordText().empty()) {
    const falcrest::SystemConst system;
    falcrest::LicenseType license;
    license.ClientName = system.Name();
    license.ClientProgramName = system.ProgramName();
    license.UserId = UserIdText();
    license.Password = md5.ComputeHash(PasswordText());

    falcrest::WebService service;
    service.WebServiceURL = serviceUrl;
    for (size_t row = 0; row < kDeviceRows.size(); ++row) {
      const std::string name = kDeviceRows[row].deviceType;
      const std::shared_ptr<falcrest::DeviceType> device = service.GetOneMemberDevice(license, name);
      if (!device) continue;
      layout_.SetLabelCaption(kDeviceRows[row].addressLabel, device->DeviceAddress);
      layout_.CheckBox(row).enabled = true;
      if (name == "SMS") layout_.SetLabelCaption("lblSMSProvider", "(" + device->ServiceProviderName + ")");
    }

    const std::vector<std::string> pieces = falcrest::SplitDeviceList(deviceList);
    for (size_t row = 0; row < kDeviceRows.size(); ++row) SetCheckBoxValue(row, 0);
    for (const std::string& piece : pieces) {
      for (size_t row = 0; row < kDeviceRows.size(); ++row) {
        // A listed type counts only where the service has a device with an address.
        if (piece == kDeviceRows[row].deviceType && !layout_.AddressLabel(row).caption.empty()) {
          SetCheckBoxValue(row, 1);
        }
      }
    }
    layout_.SetLabelCaption("lblHyperlink", kSetUpDevicesCaption);
  } else {
    layout_.SetLabelCaption("lblHyperlink", kSignUpCaption);
  }

  const Control& frame = layout_.At("frmDevices");
  Control& link = layout_.At("lblHyperlink");
  link.left = frame.left + frame.width - link.width;
}

void ReminderSetting::InitProperties(std::shared_ptr<outlook::PropertyPageSite> site) {
  state_.PageSite = std::move(site);
  state_.SiteReady = true;
}

void ReminderSetting::GetPageInfo(std::string&, int32_t&) {}

void ReminderSetting::OnEdit() {
  if (!state_.SiteReady) return;
  state_.PageDirty = true;
  if (state_.PageSite) state_.PageSite->OnStatusChange();
}

void ReminderSetting::SetUserIdText(const std::string& text) { SetBoxText("txtUserID", text); }

void ReminderSetting::SetPasswordText(const std::string& text) { SetBoxText("txtPassword", text); }

void ReminderSetting::SetBoxText(const char* box, const std::string& text) {
  std::string& shown = layout_.At(box).caption;
  if (shown == text) return;  // the same text raises no Change, as a text box does
  shown = text;
  OnEdit();
}

void ReminderSetting::SetCheckBoxValue(size_t row, int value) {
  Control& box = layout_.CheckBox(row);
  if (box.value == value) return;  // an unchanged value raises no Click
  box.value = value;
  OnEdit();
}

bool ReminderSetting::ClickCheckBox(size_t row) {
  if (!layout_.CheckBox(row).enabled) return false;
  SetCheckBoxValue(row, layout_.CheckBox(row).value == 1 ? 0 : 1);
  return true;
}

void ReminderSetting::Apply() {
  Guarded([this] {
    const falcrest::RegistryClass settings = OpenSettings();
    std::array<bool, 10> chosen{};
    for (size_t row = 0; row < kDeviceRows.size(); ++row) chosen[row] = layout_.CheckBox(row).value == 1;

    // When start-up failed, the rows were never (or only partly) loaded and no box was
    // pre-checked: a list built from them would erase the user's default devices, and
    // writing the stored one back would trim and retype it, so "Device" is left alone.
    std::optional<std::string> devices;
    if (!startupFailed_) devices = falcrest::BuildDeviceList(chosen);
    SaveSettings(settings, UserIdText(), PasswordText(), devices);

    state_.PageDirty = false;
    if (PasswordText() != state_.LoadedPassword || UserIdText() != state_.LoadedUserID) {
      ui::Current().MessageBox(kReopenMessage, kMessageCaption, ui::Icon::kInformation);
    }
  });
}

void ReminderSetting::lblHyperlink_Click() {
  Guarded([this] {
    const std::string host = WebHost(OpenSettings().GetData(falcrest::kWebServiceUrlValue));
    const bool signUp = layout_.At("lblHyperlink").caption == kSignUpCaption;
    ui::Current().OpenUrl(host + (signUp ? "/Signup.aspx" : "/EditDevice.aspx"));
  });
}

void ReminderSetting::SetLinkExtent(int width, int height) {
  linkWidth_ = width;
  linkHeight_ = height;
}

bool ReminderSetting::InsideLink(int X, int Y) const {
  const Control& link = layout_.At("lblHyperlink");
  const int width = linkWidth_ >= 0 ? linkWidth_ : link.width;
  const int height = linkHeight_ >= 0 ? linkHeight_ : link.height;
  return X >= 0 && X < width && Y >= 0 && Y < height;
}

void ReminderSetting::lblHyperlink_MouseMove(int X, int Y) {
  const bool inside = InsideLink(X, Y);
  ui::Windowing& windowing = ui::Current();
  windowing.SetCursor(inside ? ui::Cursor::kHand : ui::Cursor::kArrow);
  if (inside == state_.HyperlinkHot) return;
  HighlightHyperlink(inside);
  // While the injected button is down the label keeps getting moves after the pointer
  // leaves it, which is how the leave is seen.
  windowing.InjectLeftButton(inside);
}

void ReminderSetting::lblHyperlink_MouseUp() {
  ui::Current().InjectLeftButton(false);
  HighlightHyperlink(false);
}

void ReminderSetting::HighlightHyperlink(bool on) {
  state_.HyperlinkHot = on;
  layout_.At("lblHyperlink").fontUnderline = on;
}

}  // namespace orvane
