#pragma once
// One event interface of a source object: the sinks advised on it, and firing an event to
// each of them through IDispatch::Invoke with the arguments last-first, as the client does.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

namespace host::win32 {

class DispatchObject;

class EventPoint : public IConnectionPoint {
 public:
  EventPoint(DispatchObject& owner, REFIID iid, std::string name) : owner_(owner), iid_(iid), name_(std::move(name)) {}
  virtual ~EventPoint();
  EventPoint(const EventPoint&) = delete;
  EventPoint& operator=(const EventPoint&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

  const IID& Iid() const { return iid_; }
  size_t SinkCount() const { return sinks_.size(); }
  // Fires to every sink advised now; `args` are given first-to-last and sent last-first.
  // A sink that fails is skipped: the event still reaches the others.
  void Fire(DISPID id, std::vector<VARIANT> args);

 private:
  struct Sink {
    DWORD cookie;
    IDispatch* dispatch;
  };
  DispatchObject& owner_;
  IID iid_;
  std::string name_;
  std::vector<Sink> sinks_;
  DWORD nextCookie_ = 1;
};

}  // namespace host::win32
