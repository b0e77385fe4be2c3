#pragma once
// The ten device type names, in the order of every loop over them, and the device list
// text that joins them with ",".
#include <array>
#include <string>
#include <vector>

namespace falcrest {

inline constexpr std::array<const char*, 10> kDeviceTypeNames = {
    "HomeEmail", "WorkEmail", "HomePhone", "WorkPhone", "CellPhone",
    "SMS",       "AIM",       "MSN",       "YAHOO",     "Fax"};

// Splits at every "," (no limit, empty pieces kept); the empty text gives no pieces.
std::vector<std::string> SplitDeviceList(const std::string& list);
// Joins the names whose flag is set, in table order: "HomeEmail,CellPhone,Fax".
std::string BuildDeviceList(const std::array<bool, 10>& chosen);

}  // namespace falcrest
