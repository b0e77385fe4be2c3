#pragma once
// The connection point of the control's source interface. The interface has no members, so
// nothing is ever raised; containers still look for it and advise their sinks. The point
// lives inside the control and counts its references on it, so neither outlives the other.
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include <map>

#include "comsupport/ComPtr.h"

namespace orvane::com {

class EventPoint final : public IConnectionPoint {
 public:
  EventPoint(REFIID iid, IConnectionPointContainer* control) : iid_(iid), control_(control) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return control_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return control_->Release(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* out) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  // A sink must answer for the source interface or at least as IDispatch.
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  // Connection points may leave this out; no container of the page enumerates.
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

  const IID& Iid() const { return iid_; }

 private:
  IID iid_;
  IConnectionPointContainer* control_;  // not owned: the point is part of it
  std::map<DWORD, comsupport::ComPtr<IUnknown>> sinks_;
  DWORD lastCookie_ = 0;
};

// Enumerates the control's one connection point; holds a reference to it while it lives.
class PointEnumerator final : public IEnumConnectionPoints {
 public:
  // Starts with `position` points already passed (0 or 1).
  PointEnumerator(IConnectionPoint* point, ULONG position);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** out) override;

 private:
  ~PointEnumerator();

  comsupport::ComPtr<IConnectionPoint> point_;
  ULONG position_;
  ULONG refs_ = 1;
};

}  // namespace orvane::com
