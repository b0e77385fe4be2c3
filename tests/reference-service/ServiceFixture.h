#pragma once
// The real service with the demo member, and the library client pointed at it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "library/digest/MD5HashClass.h"
#include "library/records/LicenseType.h"
#include "library/records/ReminderType.h"
#include "library/service/WebService.h"
#include "support/ServiceProcess.h"

namespace falcrest::test {

inline LicenseType MakeLicense(const std::string& user, const std::string& password) {
  LicenseType license;
  license.UserId = user;
  license.Password = MD5HashClass().ComputeHash(password);
  license.ClientName = "Tovern";
  license.ClientProgramName = "Outlook";
  return license;
}

struct DeviceSpec {
  std::string type;
  std::string address;
  std::string provider;
};

// A reminder as the add-in builds it: devices 0..n-1 and the spare slot n.
inline ReminderType MakeReminder(const std::string& start, const std::string& subject, const std::string& user,
                                 const std::vector<DeviceSpec>& devices, int32_t eventId = 0,
                                 const std::string& description = "") {
  ReminderType reminder;
  reminder.EventPropty = std::make_shared<CalendarEventType>();
  reminder.EventPropty->EventId = eventId;
  reminder.EventPropty->EventDateTime = start;
  reminder.EventPropty->Subject = subject;
  reminder.EventPropty->Description = description;
  reminder.RemindDateTime = start + " less 15 minutes";
  reminder.User = std::make_shared<MemberType>();
  reminder.User->UserId = user;
  reminder.User->Devices = RecordArray<DeviceType>(0, static_cast<int32_t>(devices.size()));
  for (size_t i = 0; i < devices.size(); ++i) {
    auto d = std::make_shared<DeviceType>();
    d->DeviceType = devices[i].type;
    d->DeviceAddress = devices[i].address;
    d->ServiceProviderName = devices[i].provider;
    reminder.User->Devices.Set(static_cast<int32_t>(i), d);
  }
  return reminder;
}

inline CalendarEventKeyType MakeKey(const std::string& user, const std::string& start, const std::string& subject) {
  CalendarEventKeyType key;
  key.UserId = user;
  key.EventDateTime = start;
  key.Subject = subject;
  return key;
}

class ServiceTest : public testing::Test {
 protected:
  ServiceTest() { client.WebServiceURL = service.EndpointUrl(); }

  ServiceProcess service;
  WebService client;
  LicenseType demo = MakeLicense("demo", "demo");
};

}  // namespace falcrest::test
