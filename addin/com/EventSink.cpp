#include "addin/com/EventSink.h"

#include <atomic>
#include <exception>
#include <new>
#include <string>

#include "comsupport/Boundary.h"
#include "comsupport/Module.h"
#include "comsupport/Text.h"
#include "library/support/Error.h"

namespace reminder::com {

class SinkObject final : public IDispatch {
 public:
  SinkObject(REFIID iid, Connection::Handler handler) : iid_(iid), handler_(std::move(handler)) {
    comsupport::ObjectCreated();
  }
  // After Unadvise a late event from a careless source is ignored.
  void Detach() { handler_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch) && !IsEqualIID(riid, iid_)) {
      return E_NOINTERFACE;
    }
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
    if (out) *out = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    if (result) VariantInit(result);
    if (!handler_) return S_OK;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    // Keep the handler alive even if the event makes its receiver unadvise.
    Connection::Handler handler = handler_;
    return handler(id, params ? *params : none, exception);
  }

 private:
  ~SinkObject() { comsupport::ObjectDestroyed(); }

  std::atomic<ULONG> refs_{1};
  IID iid_;
  Connection::Handler handler_;
};

namespace {

[[noreturn]] void RaiseAdviseFailure(HRESULT hr, const char* what) {
  throw falcrest::Error(static_cast<int32_t>(hr), "Outlook",
                        std::string("Cannot listen to Outlook's events: ") + what);
}

}  // namespace

Connection::~Connection() {
  try {
    Unadvise();
  } catch (...) {
  }
}

void Connection::Advise(IDispatch* source, REFIID iid, Handler handler) {
  Unadvise();
  if (!source) falcrest::RaiseMissingObject("Outlook did not provide the object whose events are wanted");
  auto container = comsupport::ComPtr<IDispatch>::Share(source).As<IConnectionPointContainer>(
      IID_IConnectionPointContainer);
  if (!container) RaiseAdviseFailure(E_NOINTERFACE, "the object has no connection points");
  comsupport::ComPtr<IConnectionPoint> point;
  HRESULT hr = container->FindConnectionPoint(iid, point.put());
  if (FAILED(hr) || !point) RaiseAdviseFailure(FAILED(hr) ? hr : E_POINTER, "the object does not raise them");
  SinkObject* sink = new SinkObject(iid, std::move(handler));
  DWORD cookie = 0;
  hr = point->Advise(sink, &cookie);
  if (FAILED(hr)) {
    sink->Release();
    RaiseAdviseFailure(hr, "the object refused the sink");
  }
  point_ = point;
  sink_ = sink;
  cookie_ = cookie;
}

void Connection::Unadvise() {
  if (!sink_) return;
  comsupport::ComPtr<IConnectionPoint> point = std::move(point_);
  point_ = nullptr;
  SinkObject* sink = sink_;
  sink_ = nullptr;
  sink->Detach();
  const HRESULT hr = point->Unadvise(cookie_);
  sink->Release();
  if (FAILED(hr)) RaiseAdviseFailure(hr, "unadvising the sink failed");
}

HRESULT GuardEvent(EXCEPINFO* exception, const std::function<void()>& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (...) {
    // Gather the error as the boundary reports it, then hand it to the caller in EXCEPINFO.
    const HRESULT hr = comsupport::ReportCurrentException(IID_IDispatch);
    if (!exception) return hr;
    *exception = EXCEPINFO{};
    exception->scode = hr;
    comsupport::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
      info->GetSource(&exception->bstrSource);
      info->GetDescription(&exception->bstrDescription);
    }
    return DISP_E_EXCEPTION;
  }
}

}  // namespace reminder::com
