#pragma once
// The server module: its live objects and locks (for DllCanUnloadNow), and its own file.
#include <windows.h>

#include <string>

namespace comsupport {

// Every COM object of the module counts itself from construction to destruction.
void ObjectCreated();
void ObjectDestroyed();
// IClassFactory::LockServer.
void LockModule(bool lock);
// S_OK when no object lives and no lock is held, S_FALSE otherwise. On S_OK the cached
// type library is dropped as well.
HRESULT CanUnloadNow();
// Live objects plus locks.
long ModuleUseCount();

// The module (DLL) this code is linked into, and the full path of its file.
HMODULE ThisModule();
std::wstring ThisModulePath();

}  // namespace comsupport
