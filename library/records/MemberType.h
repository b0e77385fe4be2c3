#pragma once
// The account of the user who owns a reminder, with the devices it goes to.
#include <string>

#include "library/records/DeviceType.h"
#include "library/records/RecordArray.h"

namespace falcrest {

struct MemberType {
  std::string UserId;
  std::string Password;
  std::string FirstName;
  std::string LastName;
  std::string SignupEmail;
  std::string TimeZone;
  RecordArray<DeviceType> Devices;  // spare last slot

  // The member fragment; devices Lower()..Upper()-1 under "Devices"; missing-object error (91)
  // for an empty slot in that range.
  std::string Serialize(const std::string& tag = "Member") const;
  // Reads the six texts and the "//Devices/Device" list (bounds 0..n, slot n empty).
  void Deserialize(const std::string& xml);
};

}  // namespace falcrest
