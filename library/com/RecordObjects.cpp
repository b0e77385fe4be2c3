// The COM objects of the records: each lists its properties over the record's fields.
#include "library/com/Classes.h"
#include "library/com/RecordObject.h"

namespace falcrest::com {

using comsupport::Utf8;

namespace {

class DeviceObject final : public RecordObject<DeviceType, _DeviceType> {
 public:
  using RecordObject::RecordObject;
  RECORD_PROPERTY(DeviceId, LONG)
  // Written out: the field has its class's name, which after "DeviceType::" names the constructor.
  STDMETHODIMP get_DeviceType(BSTR* result) override { return Get(result, [&] { return r().DeviceType; }); }
  STDMETHODIMP put_DeviceType(BSTR value) override { return Guard([&] { r().DeviceType = Utf8(value); }); }
  RECORD_PROPERTY(DeviceAddress, BSTR)
  RECORD_PROPERTY(ServiceProviderName, BSTR)
  RECORD_PROPERTY(Selected, VARIANT_BOOL)
  RECORD_PROPERTY(LastDeliveryTime, DATE)
  RECORD_PROPERTY(DeliveryStatus, BSTR)
  RECORD_PROPERTY(ExtendStatus, BSTR)
};

class ContactObject final : public RecordObject<ContactType, _ContactType> {
 public:
  using RecordObject::RecordObject;
  RECORD_PROPERTY(ContactId, LONG)
  RECORD_PROPERTY(FullName, BSTR)
  RECORD_PROPERTY(Title, BSTR)
  RECORD_PROPERTY(FirstName, BSTR)
  RECORD_PROPERTY(MiddleName, BSTR)
  RECORD_PROPERTY(LastName, BSTR)
  RECORD_PROPERTY(AddressLine1, BSTR)
  RECORD_PROPERTY(AddressLine2, BSTR)
  RECORD_PROPERTY(City, BSTR)
  RECORD_PROPERTY(state, BSTR)
  RECORD_PROPERTY(ZipCode, BSTR)
  RECORD_PROPERTY(Devices, VARIANT)
};

class MemberObject final : public RecordObject<MemberType, _MemberType> {
 public:
  using RecordObject::RecordObject;
  RECORD_PROPERTY(UserId, BSTR)
  RECORD_PROPERTY(Password, BSTR)
  RECORD_PROPERTY(FirstName, BSTR)
  RECORD_PROPERTY(LastName, BSTR)
  RECORD_PROPERTY(SignupEmail, BSTR)
  RECORD_PROPERTY(TimeZone, BSTR)
  RECORD_PROPERTY(Devices, VARIANT)
};

class CalendarEventObject final : public RecordObject<CalendarEventType, _CalendarEventType> {
 public:
  using RecordObject::RecordObject;
  RECORD_PROPERTY(EventId, LONG)
  RECORD_PROPERTY(ExternalId, LONG)
  RECORD_PROPERTY(EventDateTime, BSTR)
  RECORD_PROPERTY(Subject, BSTR)
  RECORD_PROPERTY(Description, BSTR)
  RECORD_PROPERTY(RepeatOption, BSTR)
  RECORD_PROPERTY(RepeatEndDate, BSTR)
};

class ReminderObject final : public RecordObject<ReminderType, _ReminderType> {
 public:
  using RecordObject::RecordObject;
  RECORD_PROPERTY(EventPropty, _CalendarEventType*)
  RECORD_PROPERTY(RemindDateTime, BSTR)
  RECORD_PROPERTY(User, _MemberType*)
  RECORD_PROPERTY(Contacts, VARIANT)
};

class CalendarEventKeyObject final : public RecordObject<CalendarEventKeyType, _CalendarEventKeyType> {
 public:
  using RecordObject::RecordObject;
  RECORD_PROPERTY(UserId, BSTR)
  RECORD_PROPERTY(EventDateTime, BSTR)
  RECORD_PROPERTY(Subject, BSTR)
};

class LicenseObject final : public RecordObject<LicenseType, _LicenseType> {
 public:
  using RecordObject::RecordObject;
  RECORD_PROPERTY(UserId, BSTR)
  RECORD_PROPERTY(Password, BSTR)
  RECORD_PROPERTY(ClientName, BSTR)
  RECORD_PROPERTY(ClientProgramName, BSTR)
  STDMETHODIMP IsValid(VARIANT_BOOL* result) override { return Get(result, [&] { return r().IsValid(); }); }
};

class ResultObject final : public RecordObject<ResultType, _ResultType> {
 public:
  using RecordObject::RecordObject;
  RECORD_PROPERTY(ErrorMessage, BSTR)
  RECORD_PROPERTY(ReminderDetailUrl, BSTR)
};

}  // namespace

comsupport::ComPtr<_DeviceType> ObjectOf(const std::shared_ptr<DeviceType>& record) {
  return Wrap<DeviceObject>(record);
}
comsupport::ComPtr<_ContactType> ObjectOf(const std::shared_ptr<ContactType>& record) {
  return Wrap<ContactObject>(record);
}
comsupport::ComPtr<_MemberType> ObjectOf(const std::shared_ptr<MemberType>& record) {
  return Wrap<MemberObject>(record);
}
comsupport::ComPtr<_CalendarEventType> ObjectOf(const std::shared_ptr<CalendarEventType>& record) {
  return Wrap<CalendarEventObject>(record);
}
comsupport::ComPtr<_ResultType> ObjectOf(const std::shared_ptr<ResultType>& record) {
  return Wrap<ResultObject>(record);
}

void RecordOf(IUnknown* object, std::shared_ptr<DeviceType>& out) {
  out = Unwrap<DeviceObject>(object, "the object is not a DeviceType");
}
void RecordOf(IUnknown* object, std::shared_ptr<ContactType>& out) {
  out = Unwrap<ContactObject>(object, "the object is not a ContactType");
}
void RecordOf(IUnknown* object, std::shared_ptr<MemberType>& out) {
  out = Unwrap<MemberObject>(object, "the object is not a MemberType");
}
void RecordOf(IUnknown* object, std::shared_ptr<CalendarEventType>& out) {
  out = Unwrap<CalendarEventObject>(object, "the object is not a CalendarEventType");
}
void RecordOf(IUnknown* object, std::shared_ptr<LicenseType>& out) {
  out = Unwrap<LicenseObject>(object, "the object is not a LicenseType");
}
void RecordOf(IUnknown* object, std::shared_ptr<ReminderType>& out) {
  out = Unwrap<ReminderObject>(object, "the object is not a ReminderType");
}
void RecordOf(IUnknown* object, std::shared_ptr<CalendarEventKeyType>& out) {
  out = Unwrap<CalendarEventKeyObject>(object, "the object is not a CalendarEventKeyType");
}

HRESULT CreateDeviceType(REFIID iid, void** out) { return CreateRecord<DeviceObject>(iid, out); }
HRESULT CreateContactType(REFIID iid, void** out) { return CreateRecord<ContactObject>(iid, out); }
HRESULT CreateMemberType(REFIID iid, void** out) { return CreateRecord<MemberObject>(iid, out); }
HRESULT CreateReminderType(REFIID iid, void** out) { return CreateRecord<ReminderObject>(iid, out); }
HRESULT CreateCalendarEventType(REFIID iid, void** out) { return CreateRecord<CalendarEventObject>(iid, out); }
HRESULT CreateCalendarEventKeyType(REFIID iid, void** out) { return CreateRecord<CalendarEventKeyObject>(iid, out); }
HRESULT CreateLicenseType(REFIID iid, void** out) { return CreateRecord<LicenseObject>(iid, out); }
HRESULT CreateResultType(REFIID iid, void** out) { return CreateRecord<ResultObject>(iid, out); }

}  // namespace falcrest::com
