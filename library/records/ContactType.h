#pragma once
// A further person to be reminded, with that person's devices.
#include <cstdint>
#include <string>

#include "library/records/DeviceType.h"
#include "library/records/RecordArray.h"

namespace falcrest {

struct ContactType {
  int32_t ContactId = 0;
  std::string FullName;
  std::string Title;
  std::string FirstName;
  std::string MiddleName;
  std::string LastName;
  std::string AddressLine1;
  std::string AddressLine2;
  std::string City;
  std::string state;  // element "State"
  std::string ZipCode;  // written, never read
  RecordArray<DeviceType> Devices;  // spare last slot

  std::string Serialize(const std::string& tag = "Contact") const;
  void Deserialize(const std::string& xml);
};

}  // namespace falcrest
