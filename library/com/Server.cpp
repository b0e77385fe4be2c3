// The four entry points of Falcrest.dll.
#include <vector>

#include "comsupport/ClassFactory.h"
#include "comsupport/Module.h"
#include "comsupport/Registration.h"
#include "library/com/Classes.h"

namespace {

using namespace falcrest::com;

const comsupport::ServerClass kClasses[] = {
    {&__uuidof(::DeviceType), CreateDeviceType},
    {&__uuidof(::LicenseType), CreateLicenseType},
    {&__uuidof(::WebService), CreateWebService},
    {&__uuidof(::RegistryClass), CreateRegistryClass},
    {&__uuidof(::ReminderType), CreateReminderType},
    {&__uuidof(::CalendarEventType), CreateCalendarEventType},
    {&__uuidof(::MemberType), CreateMemberType},
    {&__uuidof(::ContactType), CreateContactType},
    {&__uuidof(::TimeZoneConst), CreateTimeZoneConst},
    {&__uuidof(::CalendarEventKeyType), CreateCalendarEventKeyType},
    {&__uuidof(::MD5HashClass), CreateMD5HashClass},
    {&__uuidof(::SystemConst), CreateSystemConst},
    {&__uuidof(::ResultType), CreateResultType},
    {&__uuidof(::Base64Class), CreateBase64Class},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return comsupport::GetClassObject(kClasses, sizeof(kClasses) / sizeof(kClasses[0]), clsid, iid, out);
}

STDAPI DllCanUnloadNow() { return comsupport::CanUnloadNow(); }

STDAPI DllRegisterServer() { return comsupport::RegisterServer(&comsupport::ServerEntries); }

STDAPI DllUnregisterServer() { return comsupport::UnregisterServer(&comsupport::ServerEntries); }
