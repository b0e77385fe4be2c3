// The COM objects of the two constant holders.
#include "library/com/Classes.h"
#include "library/constants/SystemConst.h"
#include "library/constants/TimeZoneConst.h"

#include "comsupport/Object.h"

namespace falcrest::com {

namespace {

class SystemConstObject final : public comsupport::DispatchObject<_SystemConst> {
 public:
  STDMETHODIMP get_Name(BSTR* result) override { return Get(result, [&] { return values_.Name(); }); }
  STDMETHODIMP get_ProgramName(BSTR* result) override {
    return Get(result, [&] { return values_.ProgramName(); });
  }

 private:
  SystemConst values_;
};

class TimeZoneConstObject final : public comsupport::DispatchObject<_TimeZoneConst> {
 public:
  STDMETHODIMP get_EasternTime(BSTR* result) override {
    return Get(result, [&] { return values_.EasternTime(); });
  }
  STDMETHODIMP get_PacificTime(BSTR* result) override {
    return Get(result, [&] { return values_.PacificTime(); });
  }
  STDMETHODIMP get_MountainTime(BSTR* result) override {
    return Get(result, [&] { return values_.MountainTime(); });
  }
  STDMETHODIMP get_AlaskaTime(BSTR* result) override {
    return Get(result, [&] { return values_.AlaskaTime(); });
  }
  STDMETHODIMP get_HawaiiTime(BSTR* result) override {
    return Get(result, [&] { return values_.HawaiiTime(); });
  }
  STDMETHODIMP get_BeijingTime(BSTR* result) override {
    return Get(result, [&] { return values_.BeijingTime(); });
  }

 private:
  TimeZoneConst values_;
};

}  // namespace

HRESULT CreateSystemConst(REFIID iid, void** out) { return CreatePlain<SystemConstObject>(iid, out); }
HRESULT CreateTimeZoneConst(REFIID iid, void** out) { return CreatePlain<TimeZoneConstObject>(iid, out); }

}  // namespace falcrest::com
