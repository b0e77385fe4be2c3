#pragma once
// The client of the reminder web service: five operations over SOAP 1.1.
// A SOAP fault or an empty answer is not an error: each operation then returns its fixed
// empty result (no object, -1, the empty text). Transport, XML and conversion failures
// raise falcrest::Error.
#include <cstdint>
#include <memory>
#include <string>

#include "library/records/CalendarEventKeyType.h"
#include "library/records/DeviceType.h"
#include "library/records/LicenseType.h"
#include "library/records/ReminderType.h"
#include "library/records/ResultType.h"

namespace falcrest {

class WebService {
 public:
  // Full URL of the endpoint; empty until the caller sets it.
  std::string WebServiceURL;

  // The member's device of that type, or nullptr on a fault or an empty answer.
  std::shared_ptr<DeviceType> GetOneMemberDevice(const LicenseType& license, const std::string& deviceTypeName);
  // The service's result record, or nullptr on a fault or an empty answer.
  std::shared_ptr<ResultType> CreateReminder(const LicenseType& license, const ReminderType& reminder);
  // The first remote event id for the key, or -1 on a fault or an empty answer.
  int32_t GetReminderIds(const LicenseType& license, const CalendarEventKeyType& eventKey);
  // The number the service answers, or -1 on a fault or an empty answer.
  int32_t DeleteReminderByEventId(const LicenseType& license, int32_t EventId);
  // The service's message (empty on success), or the empty text on a fault or empty answer.
  std::string ModifyReminderByEventId(const LicenseType& license, const ReminderType& reminder);

  // Wraps the body in the SOAP envelope, posts it and reads the answer: true with the result
  // element's XML (or the empty text) in `response`, false with the fault string. Public only
  // for tests and tools; the operations above are the interface.
  bool CallWebMethod(const std::string& methodName, const std::string& body, std::string& response);
};

}  // namespace falcrest
