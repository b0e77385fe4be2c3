#include "optionspage/com/EventPoint.h"

#include <new>

#include "comsupport/Module.h"

namespace orvane::com {

HRESULT EventPoint::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IConnectionPoint)) return E_NOINTERFACE;
  *out = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

HRESULT EventPoint::GetConnectionInterface(IID* out) {
  if (!out) return E_POINTER;
  *out = iid_;
  return S_OK;
}

HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  control_->AddRef();
  *out = control_;
  return S_OK;
}

HRESULT EventPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  comsupport::ComPtr<IUnknown> held;
  if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(held.put()))) &&
      FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(held.put())))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  *cookie = ++lastCookie_;
  sinks_[*cookie] = held;
  return S_OK;
}

HRESULT EventPoint::Unadvise(DWORD cookie) { return sinks_.erase(cookie) ? S_OK : CONNECT_E_NOCONNECTION; }

HRESULT EventPoint::EnumConnections(IEnumConnections** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

PointEnumerator::PointEnumerator(IConnectionPoint* point, ULONG position)
    : point_(comsupport::ComPtr<IConnectionPoint>::Share(point)), position_(position) {
  comsupport::ObjectCreated();
}

PointEnumerator::~PointEnumerator() { comsupport::ObjectDestroyed(); }

HRESULT PointEnumerator::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IEnumConnectionPoints)) return E_NOINTERFACE;
  *out = static_cast<IEnumConnectionPoints*>(this);
  AddRef();
  return S_OK;
}

ULONG PointEnumerator::Release() {
  const ULONG n = --refs_;
  if (n == 0) delete this;
  return n;
}

HRESULT PointEnumerator::Next(ULONG count, IConnectionPoint** points, ULONG* fetched) {
  if (fetched) *fetched = 0;
  if (!points || (count > 1 && !fetched)) return E_POINTER;
  ULONG given = 0;
  if (count > 0 && position_ == 0) {
    points[0] = comsupport::ComPtr<IConnectionPoint>(point_).Detach();
    position_ = 1;
    given = 1;
  }
  if (fetched) *fetched = given;
  return given == count ? S_OK : S_FALSE;
}

HRESULT PointEnumerator::Skip(ULONG count) {
  if (count == 0) return S_OK;
  const bool skipped = position_ == 0 && count == 1;
  position_ = 1;
  return skipped ? S_OK : S_FALSE;
}

HRESULT PointEnumerator::Reset() {
  position_ = 0;
  return S_OK;
}

HRESULT PointEnumerator::Clone(IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) PointEnumerator(point_.get(), position_);
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace orvane::com
