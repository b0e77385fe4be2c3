#include "optionspage/SettingsStore.h"

#include "library/constants/SettingsKey.h"
#include "library/digest/Base64Class.h"
#include "library/service/ServiceAddress.h"

namespace orvane {

falcrest::RegistryClass OpenSettings() {
  falcrest::RegistryClass settings;
  settings.SetRootKeyName(falcrest::kSettingsRootName);
  settings.SetKeyName(falcrest::kSettingsKey);
  return settings;
}

void EnsureDefaults(const falcrest::RegistryClass& settings) {
  // A key that exists is left alone, even with values missing.
  if (settings.KeyExist()) return;
  settings.SetData(falcrest::kUserIdValue, "");
  settings.SetData(falcrest::kPasswordValue, "");
  settings.SetData(falcrest::kWebServiceUrlValue, falcrest::kDefaultServiceUrl);
  settings.SetData(falcrest::kDeviceValue, "");
}

void SaveSettings(const falcrest::RegistryClass& settings, const std::string& userId,
                  const std::string& password, const std::optional<std::string>& deviceList) {
  settings.SetData(falcrest::kUserIdValue, userId);
  // Encode64 pads its argument, so it gets a copy; an empty password stays the empty text.
  std::string typed = password;
  settings.SetData(falcrest::kPasswordValue, typed.empty() ? std::string() : falcrest::Base64Class().Encode64(typed));
  if (deviceList) settings.SetData(falcrest::kDeviceValue, *deviceList);
}

}  // namespace orvane
