#pragma once
#include <string>

namespace falcrest {

// Six time zone names; nothing in the system reads them.
class TimeZoneConst {
 public:
  std::string EasternTime() const { return "Eastern Time"; }
  std::string PacificTime() const { return "Pacific Time"; }
  std::string MountainTime() const { return "Mountain Time"; }
  std::string AlaskaTime() const { return "Alaska Time"; }
  std::string HawaiiTime() const { return "Hawaii Time"; }
  std::string BeijingTime() const { return "Beijing Time"; }
};

}  // namespace falcrest
