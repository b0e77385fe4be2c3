// The COM objects of the reminder, event, event key, credentials and result records.
#include "library/com/Classes.h"
#include "library/com/RecordObject.h"
#include "library/com/Records.h"

namespace falcrest::com {

using comsupport::Utf8;

namespace {

class CalendarEventObject final : public RecordObject<CalendarEventType, _CalendarEventType> {
 public:
  using RecordObject::RecordObject;

  STDMETHODIMP get_EventId(LONG* result) override { return Get(result, [&] { return r().EventId; }); }
  STDMETHODIMP put_EventId(LONG value) override { return Guard([&] { r().EventId = value; }); }
  STDMETHODIMP get_ExternalId(LONG* result) override { return Get(result, [&] { return r().ExternalId; }); }
  STDMETHODIMP put_ExternalId(LONG value) override { return Guard([&] { r().ExternalId = value; }); }
  STDMETHODIMP get_EventDateTime(BSTR* result) override { return Get(result, [&] { return r().EventDateTime; }); }
  STDMETHODIMP put_EventDateTime(BSTR value) override { return Guard([&] { r().EventDateTime = Utf8(value); }); }
  STDMETHODIMP get_Subject(BSTR* result) override { return Get(result, [&] { return r().Subject; }); }
  STDMETHODIMP put_Subject(BSTR value) override { return Guard([&] { r().Subject = Utf8(value); }); }
  STDMETHODIMP get_Description(BSTR* result) override { return Get(result, [&] { return r().Description; }); }
  STDMETHODIMP put_Description(BSTR value) override { return Guard([&] { r().Description = Utf8(value); }); }
  STDMETHODIMP get_RepeatOption(BSTR* result) override { return Get(result, [&] { return r().RepeatOption; }); }
  STDMETHODIMP put_RepeatOption(BSTR value) override { return Guard([&] { r().RepeatOption = Utf8(value); }); }
  STDMETHODIMP get_RepeatEndDate(BSTR* result) override { return Get(result, [&] { return r().RepeatEndDate; }); }
  STDMETHODIMP put_RepeatEndDate(BSTR value) override { return Guard([&] { r().RepeatEndDate = Utf8(value); }); }
  STDMETHODIMP Serialize(BSTR tag, BSTR* result) override {
    return Get(result, [&] { return r().Serialize(Utf8(tag)); });
  }
  STDMETHODIMP Deserialize(BSTR xml, VARIANT* result) override {
    return Empty(result, [&] { r().Deserialize(Utf8(xml)); });
  }
};

class ReminderObject final : public RecordObject<ReminderType, _ReminderType> {
 public:
  using RecordObject::RecordObject;

  STDMETHODIMP get_EventPropty(_CalendarEventType** result) override {
    if (!result) return E_POINTER;
    *result = nullptr;
    return Guard([&] { *result = ObjectOf(r().EventPropty).Detach(); });
  }
  STDMETHODIMP put_EventPropty(_CalendarEventType* value) override {
    return Guard([&] { RecordOf(value, r().EventPropty); });
  }
  STDMETHODIMP get_RemindDateTime(BSTR* result) override { return Get(result, [&] { return r().RemindDateTime; }); }
  STDMETHODIMP put_RemindDateTime(BSTR value) override { return Guard([&] { r().RemindDateTime = Utf8(value); }); }
  STDMETHODIMP get_User(_MemberType** result) override {
    if (!result) return E_POINTER;
    *result = nullptr;
    return Guard([&] { *result = ObjectOf(r().User).Detach(); });
  }
  STDMETHODIMP put_User(_MemberType* value) override { return Guard([&] { RecordOf(value, r().User); }); }
  STDMETHODIMP get_Contacts(VARIANT* result) override {
    if (!result) return E_POINTER;
    VariantInit(result);
    return Guard([&] { WriteArray(r().Contacts, result); });
  }
  STDMETHODIMP put_Contacts(VARIANT value) override { return Guard([&] { ReadArray(value, r().Contacts); }); }
  STDMETHODIMP Serialize(BSTR tag, BSTR* result) override {
    return Get(result, [&] { return r().Serialize(Utf8(tag)); });
  }
  STDMETHODIMP Deserialize(BSTR xml, VARIANT* result) override {
    return Empty(result, [&] { r().Deserialize(Utf8(xml)); });
  }
};

class CalendarEventKeyObject final : public RecordObject<CalendarEventKeyType, _CalendarEventKeyType> {
 public:
  using RecordObject::RecordObject;

  STDMETHODIMP get_UserId(BSTR* result) override { return Get(result, [&] { return r().UserId; }); }
  STDMETHODIMP put_UserId(BSTR value) override { return Guard([&] { r().UserId = Utf8(value); }); }
  STDMETHODIMP get_EventDateTime(BSTR* result) override { return Get(result, [&] { return r().EventDateTime; }); }
  STDMETHODIMP put_EventDateTime(BSTR value) override { return Guard([&] { r().EventDateTime = Utf8(value); }); }
  STDMETHODIMP get_Subject(BSTR* result) override { return Get(result, [&] { return r().Subject; }); }
  STDMETHODIMP put_Subject(BSTR value) override { return Guard([&] { r().Subject = Utf8(value); }); }
  STDMETHODIMP Serialize(BSTR tag, BSTR* result) override {
    return Get(result, [&] { return r().Serialize(Utf8(tag)); });
  }
  STDMETHODIMP Deserialize(BSTR xml, VARIANT* result) override {
    return Empty(result, [&] { r().Deserialize(Utf8(xml)); });
  }
};

class LicenseObject final : public RecordObject<LicenseType, _LicenseType> {
 public:
  using RecordObject::RecordObject;

  STDMETHODIMP get_UserId(BSTR* result) override { return Get(result, [&] { return r().UserId; }); }
  STDMETHODIMP put_UserId(BSTR value) override { return Guard([&] { r().UserId = Utf8(value); }); }
  STDMETHODIMP get_Password(BSTR* result) override { return Get(result, [&] { return r().Password; }); }
  STDMETHODIMP put_Password(BSTR value) override { return Guard([&] { r().Password = Utf8(value); }); }
  STDMETHODIMP get_ClientName(BSTR* result) override { return Get(result, [&] { return r().ClientName; }); }
  STDMETHODIMP put_ClientName(BSTR value) override { return Guard([&] { r().ClientName = Utf8(value); }); }
  STDMETHODIMP get_ClientProgramName(BSTR* result) override {
    return Get(result, [&] { return r().ClientProgramName; });
  }
  STDMETHODIMP put_ClientProgramName(BSTR value) override {
    return Guard([&] { r().ClientProgramName = Utf8(value); });
  }
  STDMETHODIMP IsValid(VARIANT_BOOL* result) override { return Get(result, [&] { return r().IsValid(); }); }
  STDMETHODIMP Serialize(BSTR tag, BSTR* result) override {
    return Get(result, [&] { return r().Serialize(Utf8(tag)); });
  }
  STDMETHODIMP Deserialize(BSTR xml, VARIANT* result) override {
    return Empty(result, [&] { r().Deserialize(Utf8(xml)); });
  }
};

class ResultObject final : public RecordObject<ResultType, _ResultType> {
 public:
  using RecordObject::RecordObject;

  STDMETHODIMP get_ErrorMessage(BSTR* result) override { return Get(result, [&] { return r().ErrorMessage; }); }
  STDMETHODIMP put_ErrorMessage(BSTR value) override { return Guard([&] { r().ErrorMessage = Utf8(value); }); }
  STDMETHODIMP get_ReminderDetailUrl(BSTR* result) override {
    return Get(result, [&] { return r().ReminderDetailUrl; });
  }
  STDMETHODIMP put_ReminderDetailUrl(BSTR value) override {
    return Guard([&] { r().ReminderDetailUrl = Utf8(value); });
  }
  STDMETHODIMP Serialize(BSTR tag, BSTR* result) override {
    return Get(result, [&] { return r().Serialize(Utf8(tag)); });
  }
  STDMETHODIMP Deserialize(BSTR xml, VARIANT* result) override {
    return Empty(result, [&] { r().Deserialize(Utf8(xml)); });
  }
};

}  // namespace

comsupport::ComPtr<_CalendarEventType> ObjectOf(const std::shared_ptr<CalendarEventType>& record) {
  return Wrap<CalendarEventObject>(record);
}
comsupport::ComPtr<_ResultType> ObjectOf(const std::shared_ptr<ResultType>& record) {
  return Wrap<ResultObject>(record);
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

HRESULT CreateReminderType(REFIID iid, void** out) { return CreateRecord<ReminderObject>(iid, out); }
HRESULT CreateCalendarEventType(REFIID iid, void** out) { return CreateRecord<CalendarEventObject>(iid, out); }
HRESULT CreateCalendarEventKeyType(REFIID iid, void** out) { return CreateRecord<CalendarEventKeyObject>(iid, out); }
HRESULT CreateLicenseType(REFIID iid, void** out) { return CreateRecord<LicenseObject>(iid, out); }
HRESULT CreateResultType(REFIID iid, void** out) { return CreateRecord<ResultObject>(iid, out); }

}  // namespace falcrest::com
