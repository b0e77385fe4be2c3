// The COM objects of the member, contact and device records.
#include "library/com/Classes.h"
#include "library/com/RecordObject.h"
#include "library/com/Records.h"

namespace falcrest::com {

using comsupport::Boolean;
using comsupport::Utf8;

namespace {

class DeviceObject final : public RecordObject<DeviceType, _DeviceType> {
 public:
  using RecordObject::RecordObject;

  STDMETHODIMP get_DeviceId(LONG* result) override { return Get(result, [&] { return r().DeviceId; }); }
  STDMETHODIMP put_DeviceId(LONG value) override { return Guard([&] { r().DeviceId = value; }); }
  STDMETHODIMP get_DeviceType(BSTR* result) override { return Get(result, [&] { return r().DeviceType; }); }
  STDMETHODIMP put_DeviceType(BSTR value) override { return Guard([&] { r().DeviceType = Utf8(value); }); }
  STDMETHODIMP get_DeviceAddress(BSTR* result) override { return Get(result, [&] { return r().DeviceAddress; }); }
  STDMETHODIMP put_DeviceAddress(BSTR value) override { return Guard([&] { r().DeviceAddress = Utf8(value); }); }
  STDMETHODIMP get_ServiceProviderName(BSTR* result) override {
    return Get(result, [&] { return r().ServiceProviderName; });
  }
  STDMETHODIMP put_ServiceProviderName(BSTR value) override {
    return Guard([&] { r().ServiceProviderName = Utf8(value); });
  }
  STDMETHODIMP get_Selected(VARIANT_BOOL* result) override { return Get(result, [&] { return r().Selected; }); }
  STDMETHODIMP put_Selected(VARIANT_BOOL value) override { return Guard([&] { r().Selected = Boolean(value); }); }
  STDMETHODIMP get_LastDeliveryTime(DATE* result) override {
    return Get(result, [&] { return r().LastDeliveryTime; });
  }
  STDMETHODIMP put_LastDeliveryTime(DATE value) override { return Guard([&] { r().LastDeliveryTime = value; }); }
  STDMETHODIMP get_DeliveryStatus(BSTR* result) override { return Get(result, [&] { return r().DeliveryStatus; }); }
  STDMETHODIMP put_DeliveryStatus(BSTR value) override { return Guard([&] { r().DeliveryStatus = Utf8(value); }); }
  STDMETHODIMP get_ExtendStatus(BSTR* result) override { return Get(result, [&] { return r().ExtendStatus; }); }
  STDMETHODIMP put_ExtendStatus(BSTR value) override { return Guard([&] { r().ExtendStatus = Utf8(value); }); }
  STDMETHODIMP Serialize(BSTR tag, BSTR* result) override {
    return Get(result, [&] { return r().Serialize(Utf8(tag)); });
  }
  STDMETHODIMP Deserialize(BSTR xml, VARIANT* result) override {
    return Empty(result, [&] { r().Deserialize(Utf8(xml)); });
  }
};

class ContactObject final : public RecordObject<ContactType, _ContactType> {
 public:
  using RecordObject::RecordObject;

  STDMETHODIMP get_ContactId(LONG* result) override { return Get(result, [&] { return r().ContactId; }); }
  STDMETHODIMP put_ContactId(LONG value) override { return Guard([&] { r().ContactId = value; }); }
  STDMETHODIMP get_FullName(BSTR* result) override { return Get(result, [&] { return r().FullName; }); }
  STDMETHODIMP put_FullName(BSTR value) override { return Guard([&] { r().FullName = Utf8(value); }); }
  STDMETHODIMP get_Title(BSTR* result) override { return Get(result, [&] { return r().Title; }); }
  STDMETHODIMP put_Title(BSTR value) override { return Guard([&] { r().Title = Utf8(value); }); }
  STDMETHODIMP get_FirstName(BSTR* result) override { return Get(result, [&] { return r().FirstName; }); }
  STDMETHODIMP put_FirstName(BSTR value) override { return Guard([&] { r().FirstName = Utf8(value); }); }
  STDMETHODIMP get_MiddleName(BSTR* result) override { return Get(result, [&] { return r().MiddleName; }); }
  STDMETHODIMP put_MiddleName(BSTR value) override { return Guard([&] { r().MiddleName = Utf8(value); }); }
  STDMETHODIMP get_LastName(BSTR* result) override { return Get(result, [&] { return r().LastName; }); }
  STDMETHODIMP put_LastName(BSTR value) override { return Guard([&] { r().LastName = Utf8(value); }); }
  STDMETHODIMP get_AddressLine1(BSTR* result) override { return Get(result, [&] { return r().AddressLine1; }); }
  STDMETHODIMP put_AddressLine1(BSTR value) override { return Guard([&] { r().AddressLine1 = Utf8(value); }); }
  STDMETHODIMP get_AddressLine2(BSTR* result) override { return Get(result, [&] { return r().AddressLine2; }); }
  STDMETHODIMP put_AddressLine2(BSTR value) override { return Guard([&] { r().AddressLine2 = Utf8(value); }); }
  STDMETHODIMP get_City(BSTR* result) override { return Get(result, [&] { return r().City; }); }
  STDMETHODIMP put_City(BSTR value) override { return Guard([&] { r().City = Utf8(value); }); }
  STDMETHODIMP get_state(BSTR* result) override { return Get(result, [&] { return r().state; }); }
  STDMETHODIMP put_state(BSTR value) override { return Guard([&] { r().state = Utf8(value); }); }
  STDMETHODIMP get_ZipCode(BSTR* result) override { return Get(result, [&] { return r().ZipCode; }); }
  STDMETHODIMP put_ZipCode(BSTR value) override { return Guard([&] { r().ZipCode = Utf8(value); }); }
  STDMETHODIMP get_Devices(VARIANT* result) override {
    if (!result) return E_POINTER;
    VariantInit(result);
    return Guard([&] { WriteArray(r().Devices, result); });
  }
  STDMETHODIMP put_Devices(VARIANT value) override { return Guard([&] { ReadArray(value, r().Devices); }); }
  STDMETHODIMP Serialize(BSTR tag, BSTR* result) override {
    return Get(result, [&] { return r().Serialize(Utf8(tag)); });
  }
  STDMETHODIMP Deserialize(BSTR xml, VARIANT* result) override {
    return Empty(result, [&] { r().Deserialize(Utf8(xml)); });
  }
};

class MemberObject final : public RecordObject<MemberType, _MemberType> {
 public:
  using RecordObject::RecordObject;

  STDMETHODIMP get_UserId(BSTR* result) override { return Get(result, [&] { return r().UserId; }); }
  STDMETHODIMP put_UserId(BSTR value) override { return Guard([&] { r().UserId = Utf8(value); }); }
  STDMETHODIMP get_Password(BSTR* result) override { return Get(result, [&] { return r().Password; }); }
  STDMETHODIMP put_Password(BSTR value) override { return Guard([&] { r().Password = Utf8(value); }); }
  STDMETHODIMP get_FirstName(BSTR* result) override { return Get(result, [&] { return r().FirstName; }); }
  STDMETHODIMP put_FirstName(BSTR value) override { return Guard([&] { r().FirstName = Utf8(value); }); }
  STDMETHODIMP get_LastName(BSTR* result) override { return Get(result, [&] { return r().LastName; }); }
  STDMETHODIMP put_LastName(BSTR value) override { return Guard([&] { r().LastName = Utf8(value); }); }
  STDMETHODIMP get_SignupEmail(BSTR* result) override { return Get(result, [&] { return r().SignupEmail; }); }
  STDMETHODIMP put_SignupEmail(BSTR value) override { return Guard([&] { r().SignupEmail = Utf8(value); }); }
  STDMETHODIMP get_TimeZone(BSTR* result) override { return Get(result, [&] { return r().TimeZone; }); }
  STDMETHODIMP put_TimeZone(BSTR value) override { return Guard([&] { r().TimeZone = Utf8(value); }); }
  STDMETHODIMP get_Devices(VARIANT* result) override {
    if (!result) return E_POINTER;
    VariantInit(result);
    return Guard([&] { WriteArray(r().Devices, result); });
  }
  STDMETHODIMP put_Devices(VARIANT value) override { return Guard([&] { ReadArray(value, r().Devices); }); }
  STDMETHODIMP Serialize(BSTR tag, BSTR* result) override {
    return Get(result, [&] { return r().Serialize(Utf8(tag)); });
  }
  STDMETHODIMP Deserialize(BSTR xml, VARIANT* result) override {
    return Empty(result, [&] { r().Deserialize(Utf8(xml)); });
  }
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

void RecordOf(IUnknown* object, std::shared_ptr<DeviceType>& out) {
  out = Unwrap<DeviceObject>(object, "the object is not a DeviceType");
}
void RecordOf(IUnknown* object, std::shared_ptr<ContactType>& out) {
  out = Unwrap<ContactObject>(object, "the object is not a ContactType");
}
void RecordOf(IUnknown* object, std::shared_ptr<MemberType>& out) {
  out = Unwrap<MemberObject>(object, "the object is not a MemberType");
}

HRESULT CreateDeviceType(REFIID iid, void** out) { return CreateRecord<DeviceObject>(iid, out); }
HRESULT CreateContactType(REFIID iid, void** out) { return CreateRecord<ContactObject>(iid, out); }
HRESULT CreateMemberType(REFIID iid, void** out) { return CreateRecord<MemberObject>(iid, out); }

}  // namespace falcrest::com
