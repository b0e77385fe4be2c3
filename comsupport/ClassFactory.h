#pragma once
// Class factories for DllGetClassObject. A factory counts as a live object of the module
// while a caller holds it, and LockServer holds the module as well.
#include <windows.h>
#include <ole2.h>

#include <cstddef>

namespace comsupport {

// Creates one object of a class and gives its interface `iid` (the creator's own
// reference released), or an error HRESULT; throws nothing.
using Creator = HRESULT (*)(REFIID iid, void** out);

struct ServerClass {
  const CLSID* clsid;
  Creator create;
};

// The factory of the class `clsid` among `classes`, as interface `iid`;
// CLASS_E_CLASSNOTAVAILABLE for a class ID that is not among them.
HRESULT GetClassObject(const ServerClass* classes, size_t count, REFCLSID clsid, REFIID iid, void** out);

}  // namespace comsupport
