#pragma once
// The service's answer to a reminder being created.
#include <string>

namespace falcrest {

struct ResultType {
  std::string ErrorMessage;
  std::string ReminderDetailUrl;

  std::string Serialize(const std::string& tag = "Result") const;
  // Each field only when its element exists; never raises for a missing element.
  void Deserialize(const std::string& xml);
};

}  // namespace falcrest
