// The COM object of the registry wrapper.
#include "library/com/Classes.h"
#include "library/registry/RegistryClass.h"

#include "comsupport/Convert.h"
#include "comsupport/Object.h"

namespace falcrest::com {

using comsupport::Utf8;

namespace {

class RegistryObject final : public comsupport::DispatchObject<_RegistryClass> {
 public:
  STDMETHODIMP get_RootKey(LONG* result) override { return Get(result, [&] { return registry_.RootKey(); }); }
  STDMETHODIMP put_RootKey(LONG value) override { return Guard([&] { registry_.SetRootKey(value); }); }
  STDMETHODIMP get_RootKeyName(BSTR* result) override {
    return Get(result, [&] { return registry_.RootKeyName(); });
  }
  STDMETHODIMP put_RootKeyName(BSTR value) override {
    return Guard([&] { registry_.SetRootKeyName(Utf8(value)); });
  }
  STDMETHODIMP get_KeyName(BSTR* result) override { return Get(result, [&] { return registry_.KeyName(); }); }
  STDMETHODIMP put_KeyName(BSTR value) override { return Guard([&] { registry_.SetKeyName(Utf8(value)); }); }

  // Neither argument is changed, though both are passed by reference.
  STDMETHODIMP SetData(BSTR* Name, BSTR* data, VARIANT* result) override {
    if (!result) return E_POINTER;
    VariantInit(result);
    if (!Name || !data) return E_POINTER;
    return Guard([&] { registry_.SetData(Utf8(*Name), Utf8(*data)); });
  }
  STDMETHODIMP GetData(BSTR* Name, BSTR* result) override {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (!Name) return E_POINTER;
    return Guard([&] { comsupport::Store(result, registry_.GetData(Utf8(*Name))); });
  }
  STDMETHODIMP KeyExist(VARIANT_BOOL* result) override { return Get(result, [&] { return registry_.KeyExist(); }); }

 private:
  RegistryClass registry_;
};

}  // namespace

HRESULT CreateRegistryClass(REFIID iid, void** out) { return CreatePlain<RegistryObject>(iid, out); }

}  // namespace falcrest::com
