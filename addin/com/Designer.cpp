// The add-in object as the client meets it: the default interface _ReminderDesigner (no
// members) and IDTExtensibility2, whose calls go to the add-in's ReminderDesigner with the
// client's objects wrapped. Nothing the add-in raises reaches the client: the add-in reports
// its own errors in a message box, and whatever still escapes is shown the same way.
#include "addin/com/Designer.h"

#include <exception>
#include <memory>
#include <new>

#include "Reminder_h.h"
#include "addin/Components.h"
#include "addin/ReminderDesigner.h"
#include "addin/com/ObjectModel.h"
#include "addin/win32/Win32Views.h"
#include "comsupport/Object.h"
#include "library/support/Error.h"

namespace reminder::com {

namespace {

template <class Body>
void Shielded(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
    try {
      try {
        throw;
      } catch (const falcrest::Error& e) {
        ui::Current().MessageBox(e.Description(), kErrorCaption, ui::Icon::kCritical);
      } catch (const std::exception& e) {
        ui::Current().MessageBox(e.what(), kErrorCaption, ui::Icon::kCritical);
      }
    } catch (...) {
    }
  }
}

class DesignerObject : public comsupport::DispatchObject<_ReminderDesigner> {
 public:
  DesignerObject() : core_(CreateReminderDesigner()) { win32::InstallViews(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out && IsEqualIID(riid, __uuidof(::IDTExtensibility2))) {
      *out = static_cast<::IDTExtensibility2*>(&extensibility_);
      AddRef();
      return S_OK;
    }
    return DispatchObject::QueryInterface(riid, out);
  }

 private:
  // IDTExtensibility2 beside the default interface: its own IDispatch, the same identity.
  struct Extensibility : public ::IDTExtensibility2 {
    explicit Extensibility(DesignerObject& o) : outer(o) {}
    DesignerObject& outer;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
      return outer.QueryInterface(riid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return outer.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return outer.Release(); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
      if (!count) return E_POINTER;
      *count = 1;
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
      if (!out) return E_POINTER;
      *out = nullptr;
      if (index != 0) return DISP_E_BADINDEX;
      comsupport::InterfaceInfo info;
      const HRESULT hr = comsupport::OwnInterfaceInfo(__uuidof(::IDTExtensibility2), info);
      if (SUCCEEDED(hr)) *out = info.dispatch.Detach();
      return hr;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
      if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
      comsupport::InterfaceInfo info;
      const HRESULT hr = comsupport::OwnInterfaceInfo(__uuidof(::IDTExtensibility2), info);
      return FAILED(hr) ? hr : DispGetIDsOfNames(info.vtable.get(), names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument_error) override {
      if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
      return comsupport::InvokeByTypeInfo(__uuidof(::IDTExtensibility2), this, id, lcid, flags, params, result,
                                          exception, argument_error);
    }

    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode, IDispatch*,
                                           SAFEARRAY**) override {
      Shielded([&] { outer.core_->OnConnection(WrapApplication(Application), ConnectMode); });
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY**) override {
      Shielded([&] { outer.core_->OnDisconnection(RemoveMode); });
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override {
      Shielded([&] { outer.core_->OnAddInsUpdate(); });
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) override {
      Shielded([&] { outer.core_->OnStartupComplete(); });
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) override {
      Shielded([&] { outer.core_->OnBeginShutdown(); });
      return S_OK;
    }
  };

  std::shared_ptr<outlook::IDTExtensibility2> core_;
  Extensibility extensibility_{*this};
};

}  // namespace

HRESULT CreateDesigner(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  DesignerObject* object = nullptr;
  try {
    object = new DesignerObject;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  const HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

}  // namespace reminder::com
