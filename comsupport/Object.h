#pragma once
// The base of every COM object of a server: a thread-safe reference count, the module's
// object count, IDispatch from the module's own type library, ISupportErrorInfo, and the
// in-process way back from an interface pointer to the C++ object behind it.
#include <windows.h>
#include <ole2.h>

#include <atomic>

#include "comsupport/Boundary.h"
#include "comsupport/Convert.h"
#include "comsupport/Module.h"
#include "comsupport/TypeLibrary.h"

namespace comsupport {

// Answered only by this module's own objects (a proxy or a foreign object never knows it):
// gives the native object of the given kind, or nullptr when it holds another kind.
struct INativeObject : public IUnknown {
  virtual void* STDMETHODCALLTYPE NativeObject(REFIID kind) = 0;
};
extern const IID IID_INativeObject;

// ITypeInfo::Invoke through the vtable view of the interface, with what script callers need
// first: a by-reference variant passed where the member takes a typed in/out argument is
// converted and written back after the call; a plain value passed there is given a
// temporary; a by-reference variant for an [in] argument is read through; and "Set x.P = o"
// on a property that has only a put accessor reaches that accessor.
HRESULT InvokeByTypeInfo(REFIID iid, IDispatch* self, DISPID id, LCID lcid, WORD flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO* exception, UINT* argument_error);

// The reference count every object shares; TryAddRef serves look-ups of live objects.
class ObjectCore {
 public:
  ObjectCore() { ObjectCreated(); }
  virtual ~ObjectCore() { ObjectDestroyed(); }
  ObjectCore(const ObjectCore&) = delete;
  ObjectCore& operator=(const ObjectCore&) = delete;

  // Adds a reference unless the count has already reached zero (the object is dying).
  bool TryAddRef() {
    ULONG n = refs_.load();
    while (n != 0) {
      if (refs_.compare_exchange_weak(n, n + 1)) return true;
    }
    return false;
  }

 protected:
  ULONG AddRefCore() { return ++refs_; }
  ULONG ReleaseCore() {
    const ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }

 private:
  std::atomic<ULONG> refs_{1};  // the creator's reference
};

// A COM object whose default interface `Itf` is a dual interface of the module's library.
template <class Itf>
class DispatchObject : public ObjectCore, public Itf, public ISupportErrorInfo, public INativeObject {
 public:
  Itf* Interface() { return static_cast<Itf*>(this); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, __uuidof(Itf))) {
      *out = static_cast<Itf*>(this);
    } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
      *out = static_cast<ISupportErrorInfo*>(this);
    } else if (IsEqualIID(riid, IID_INativeObject)) {
      *out = static_cast<INativeObject*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRefCore();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return AddRefCore(); }
  ULONG STDMETHODCALLTYPE Release() override { return ReleaseCore(); }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    InterfaceInfo info;
    const HRESULT hr = OwnInterfaceInfo(__uuidof(Itf), info);
    if (SUCCEEDED(hr)) *out = info.dispatch.Detach();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    InterfaceInfo info;
    const HRESULT hr = OwnInterfaceInfo(__uuidof(Itf), info);
    return FAILED(hr) ? hr : DispGetIDsOfNames(info.vtable.get(), names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argument_error) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    return InvokeByTypeInfo(__uuidof(Itf), static_cast<Itf*>(this), id, lcid, flags, params, result, exception,
                            argument_error);
  }

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return IsEqualIID(riid, __uuidof(Itf)) ? S_OK : S_FALSE;
  }

  void* STDMETHODCALLTYPE NativeObject(REFIID) override { return nullptr; }

 protected:
  DispatchObject() = default;

  // Runs a method body at the COM boundary (see Guard).
  template <class Body>
  HRESULT Guard(Body&& body) noexcept {
    return comsupport::Guard(__uuidof(Itf), body);
  }
  // A read: the out-parameter cleared first, then filled from `read()` (see Store).
  template <class Out, class Read>
  HRESULT Get(Out* out, Read&& read) noexcept {
    if (!out) return E_POINTER;
    *out = Out();
    return Guard([&] { Store(out, read()); });
  }
};

}  // namespace comsupport
