#include "host/win32/EventPoint.h"

#include "host/win32/CallLog.h"
#include "host/win32/Dispatch.h"

namespace host::win32 {

EventPoint::~EventPoint() {
  for (Sink& sink : sinks_) sink.dispatch->Release();
}

HRESULT EventPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

// A connection point lives as long as its source.
ULONG EventPoint::AddRef() { return owner_.AddRef(); }
ULONG EventPoint::Release() { return owner_.Release(); }

HRESULT EventPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = &owner_;
  owner_.AddRef();
  return S_OK;
}

HRESULT EventPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  // The sink must answer for the event interface itself, as the client asks.
  IDispatch* dispatch = nullptr;
  if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&dispatch))) || !dispatch) {
    return CONNECT_E_CANNOTCONNECT;
  }
  *cookie = nextCookie_++;
  sinks_.push_back({*cookie, dispatch});
  LogCall("advise " + name_ + " " + owner_.Label());
  return S_OK;
}

HRESULT EventPoint::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->cookie != cookie) continue;
    IDispatch* dispatch = it->dispatch;
    sinks_.erase(it);
    LogCall("unadvise " + name_ + " " + owner_.Label());
    dispatch->Release();
    return S_OK;
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT EventPoint::EnumConnections(IEnumConnections** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

void EventPoint::Fire(DISPID id, std::vector<VARIANT> args) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  // A sink may unadvise itself (or another) while the event is delivered.
  std::vector<Sink> snapshot = sinks_;
  for (const Sink& sink : snapshot) sink.dispatch->AddRef();
  for (const Sink& sink : snapshot) {
    bool stillAdvised = false;
    for (const Sink& s : sinks_) stillAdvised = stillAdvised || s.cookie == sink.cookie;
    if (!stillAdvised) continue;
    VARIANT ignored;
    VariantInit(&ignored);
    sink.dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &ignored, nullptr, nullptr);
    VariantClear(&ignored);
  }
  for (const Sink& sink : snapshot) sink.dispatch->Release();
}

}  // namespace host::win32
