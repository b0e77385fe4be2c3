#pragma once
// The fourteen classes of Falcrest.dll, each as the creator its class factory calls.
#include <new>

#include "Falcrest_h.h"

namespace falcrest::com {

HRESULT CreateDeviceType(REFIID iid, void** out);
HRESULT CreateLicenseType(REFIID iid, void** out);
HRESULT CreateWebService(REFIID iid, void** out);
HRESULT CreateRegistryClass(REFIID iid, void** out);
HRESULT CreateReminderType(REFIID iid, void** out);
HRESULT CreateCalendarEventType(REFIID iid, void** out);
HRESULT CreateMemberType(REFIID iid, void** out);
HRESULT CreateContactType(REFIID iid, void** out);
HRESULT CreateTimeZoneConst(REFIID iid, void** out);
HRESULT CreateCalendarEventKeyType(REFIID iid, void** out);
HRESULT CreateMD5HashClass(REFIID iid, void** out);
HRESULT CreateSystemConst(REFIID iid, void** out);
HRESULT CreateResultType(REFIID iid, void** out);
HRESULT CreateBase64Class(REFIID iid, void** out);

// A new object of a class that holds no shared record, as interface `iid`.
template <class Object>
HRESULT CreatePlain(REFIID iid, void** out) {
  Object* object = new (std::nothrow) Object;
  if (!object) return E_OUTOFMEMORY;
  const HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

}  // namespace falcrest::com
