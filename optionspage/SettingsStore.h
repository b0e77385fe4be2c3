#pragma once
// The settings of the add-in, kept under one registry key: the service account, the
// service address and the default devices. The page is the only writer; the add-in reads.
#include <optional>
#include <string>

#include "library/registry/RegistryClass.h"

namespace orvane {

// A registry object pointed at the settings key.
falcrest::RegistryClass OpenSettings();

// When the key is absent, writes "UserID", "Password", "WebServiceURL" (the default URL)
// and "Device" in that order; writes nothing when the key exists.
void EnsureDefaults(const falcrest::RegistryClass& settings);

// The page's save: "UserID" as typed, "Password" as Encode64 of the typed password or the
// empty text, "Device" as the device list given (falcrest::BuildDeviceList of the chosen
// rows); without a list "Device" is not written at all. "WebServiceURL" is never written.
// Raises the registry's errors; values written before one stay written.
void SaveSettings(const falcrest::RegistryClass& settings, const std::string& userId,
                  const std::string& password, const std::optional<std::string>& deviceList);

}  // namespace orvane
