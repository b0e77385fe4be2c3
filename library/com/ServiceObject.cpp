// The COM object of the reminder service's client.
#include "library/com/Classes.h"
#include "library/com/Records.h"
#include "library/service/WebService.h"

#include "comsupport/Convert.h"
#include "comsupport/Object.h"

namespace falcrest::com {

using comsupport::Utf8;

namespace {

class WebServiceObject final : public comsupport::DispatchObject<_WebService> {
 public:
  STDMETHODIMP get_WebServiceURL(BSTR* result) override { return Get(result, [&] { return service_.WebServiceURL; }); }
  STDMETHODIMP put_WebServiceURL(BSTR value) override { return Guard([&] { service_.WebServiceURL = Utf8(value); }); }

  STDMETHODIMP GetOneMemberDevice(_LicenseType** license, BSTR deviceTypeName, _DeviceType** result) override {
    if (!result) return E_POINTER;
    *result = nullptr;
    return Guard([&] {
      std::shared_ptr<LicenseType> held;
      const LicenseType& credentials = RequiredRecord(license, held, "license");
      *result = ObjectOf(service_.GetOneMemberDevice(credentials, Utf8(deviceTypeName))).Detach();
    });
  }
  STDMETHODIMP CreateReminder(_LicenseType** license, _ReminderType** reminder, _ResultType** result) override {
    if (!result) return E_POINTER;
    *result = nullptr;
    return Guard([&] {
      std::shared_ptr<LicenseType> held_license;
      std::shared_ptr<ReminderType> held_reminder;
      const LicenseType& credentials = RequiredRecord(license, held_license, "license");
      const ReminderType& record = RequiredRecord(reminder, held_reminder, "reminder");
      *result = ObjectOf(service_.CreateReminder(credentials, record)).Detach();
    });
  }
  STDMETHODIMP GetReminderIds(_LicenseType** license, _CalendarEventKeyType** eventKey, LONG* result) override {
    if (!result) return E_POINTER;
    *result = 0;
    return Guard([&] {
      std::shared_ptr<LicenseType> held_license;
      std::shared_ptr<CalendarEventKeyType> held_key;
      const LicenseType& credentials = RequiredRecord(license, held_license, "license");
      const CalendarEventKeyType& key = RequiredRecord(eventKey, held_key, "eventKey");
      *result = service_.GetReminderIds(credentials, key);
    });
  }
  STDMETHODIMP DeleteReminderByEventId(_LicenseType** license, LONG EventId, LONG* result) override {
    if (!result) return E_POINTER;
    *result = 0;
    return Guard([&] {
      std::shared_ptr<LicenseType> held;
      const LicenseType& credentials = RequiredRecord(license, held, "license");
      *result = service_.DeleteReminderByEventId(credentials, EventId);
    });
  }
  STDMETHODIMP ModifyReminderByEventId(_LicenseType** license, _ReminderType** reminder, BSTR* result) override {
    if (!result) return E_POINTER;
    *result = nullptr;
    return Guard([&] {
      std::shared_ptr<LicenseType> held_license;
      std::shared_ptr<ReminderType> held_reminder;
      const LicenseType& credentials = RequiredRecord(license, held_license, "license");
      const ReminderType& record = RequiredRecord(reminder, held_reminder, "reminder");
      comsupport::Store(result, service_.ModifyReminderByEventId(credentials, record));
    });
  }

 private:
  WebService service_;
};

}  // namespace

HRESULT CreateWebService(REFIID iid, void** out) { return CreatePlain<WebServiceObject>(iid, out); }

}  // namespace falcrest::com
