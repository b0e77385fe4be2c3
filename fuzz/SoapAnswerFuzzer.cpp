// Bytes from the server, fed to CallWebMethod and to each of the five operations. A normal
// return or a falcrest::Error is fine; anything else (a crash, a leak, another exception)
// is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FakeHttp.h"
#include "library/records/CalendarEventKeyType.h"
#include "library/records/LicenseType.h"
#include "library/records/ReminderType.h"
#include "library/service/WebService.h"
#include "library/support/Error.h"

namespace {

falcrest::LicenseType License() {
  falcrest::LicenseType license;
  license.UserId = "demo";
  license.Password = "FE01CE2A7FBAC8FAFAED7C982A04E229";
  license.ClientName = "Tovern";
  license.ClientProgramName = "Outlook";
  return license;
}

template <typename Call>
void Tolerate(Call call) {
  try {
    call();
  } catch (const falcrest::Error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  falcrest::fuzzing::SetAnswer(std::string(reinterpret_cast<const char*>(data), size));

  static const falcrest::LicenseType license = License();
  falcrest::ReminderType reminder;
  reminder.EventPropty = std::make_shared<falcrest::CalendarEventType>();
  reminder.User = std::make_shared<falcrest::MemberType>();
  falcrest::CalendarEventKeyType key;

  falcrest::WebService service;
  service.WebServiceURL = "http://fuzz.invalid/WebService/OutlookPlugin.asmx";

  Tolerate([&] {
    std::string response;
    service.CallWebMethod("CreateReminder", "<CreateReminder/>", response);
  });
  Tolerate([&] { service.GetOneMemberDevice(license, "HomeEmail"); });
  Tolerate([&] { service.CreateReminder(license, reminder); });
  Tolerate([&] { service.GetReminderIds(license, key); });
  Tolerate([&] { service.DeleteReminderByEventId(license, 7); });
  Tolerate([&] { service.ModifyReminderByEventId(license, reminder); });
  return 0;
}
