#pragma once
// The module's own type library, loaded from the TYPELIB resource of its file without
// registering anything, and the type descriptions of its interfaces.
#include <windows.h>
#include <ole2.h>

#include "comsupport/ComPtr.h"

namespace comsupport {

// The two views of a dual interface: the dispatch one (what callers are shown) and the
// vtable one (what ITypeInfo::Invoke calls through).
struct InterfaceInfo {
  ComPtr<ITypeInfo> dispatch;
  ComPtr<ITypeInfo> vtable;
};

// The type library; an error HRESULT when the resource cannot be loaded. Neither throws.
HRESULT OwnTypeLibrary(ComPtr<ITypeLib>& out);
// The descriptions of one interface of the library; cached until ReleaseTypeLibrary.
HRESULT OwnInterfaceInfo(REFIID iid, InterfaceInfo& out);
// Drops the cache (done when the module may be unloaded).
void ReleaseTypeLibrary() noexcept;

}  // namespace comsupport
