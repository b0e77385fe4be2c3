#include "comsupport/ClassFactory.h"

#include <new>

#include "comsupport/Object.h"

namespace comsupport {

namespace {

class ClassFactory final : public ObjectCore, public IClassFactory {
 public:
  explicit ClassFactory(Creator create) : create_(create) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRefCore();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return AddRefCore(); }
  ULONG STDMETHODCALLTYPE Release() override { return ReleaseCore(); }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(riid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    LockModule(lock != FALSE);
    return S_OK;
  }

 private:
  Creator create_;
};

}  // namespace

HRESULT GetClassObject(const ServerClass* classes, size_t count, REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (size_t i = 0; i < count; ++i) {
    if (!IsEqualCLSID(*classes[i].clsid, clsid)) continue;
    ClassFactory* factory = new (std::nothrow) ClassFactory(classes[i].create);
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace comsupport
