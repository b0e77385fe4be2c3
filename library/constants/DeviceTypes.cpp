#include "library/constants/DeviceTypes.h"

namespace falcrest {

std::vector<std::string> SplitDeviceList(const std::string& list) {
  std::vector<std::string> pieces;
  if (list.empty()) return pieces;
  size_t start = 0;
  for (;;) {
    size_t comma = list.find(',', start);
    pieces.push_back(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) return pieces;
    start = comma + 1;
  }
}

std::string BuildDeviceList(const std::array<bool, 10>& chosen) {
  std::string list;
  for (size_t i = 0; i < kDeviceTypeNames.size(); ++i) {
    if (!chosen[i]) continue;
    if (!list.empty()) list += ',';
    list += kDeviceTypeNames[i];
  }
  return list;
}

}  // namespace falcrest
