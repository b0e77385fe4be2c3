#pragma once
// One delivery device of a member or contact: an address with its provider and state.
#include <cstdint>
#include <string>

namespace falcrest {

struct DeviceType {
  int32_t DeviceId = 0;
  std::string DeviceType;  // kind of device: "HomeEmail", "SMS", ...
  std::string DeviceAddress;
  std::string ServiceProviderName;
  bool Selected = false;
  double LastDeliveryTime = 0;  // OLE Automation date; never written to XML
  std::string DeliveryStatus;
  std::string ExtendStatus;

  // The fragment "<tag><DeviceId>..</ExtendStatus></tag>", text escaped.
  std::string Serialize(const std::string& tag = "Device") const;
  // Reads the fields from the first elements of their names; missing-node error (91) when
  // a required element is absent, type mismatch (13) for a "Selected" that is not a Boolean.
  void Deserialize(const std::string& xml);
};

}  // namespace falcrest
