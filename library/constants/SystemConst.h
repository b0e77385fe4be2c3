#pragma once
#include <string>

namespace falcrest {

// Names the client program to the service.
class SystemConst {
 public:
  std::string Name() const { return "Tovern"; }
  std::string ProgramName() const { return "Outlook"; }
};

}  // namespace falcrest
