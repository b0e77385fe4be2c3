#include "comsupport/TypeLibrary.h"

#include <map>
#include <mutex>

#include "comsupport/Module.h"

namespace comsupport {

namespace {

struct IidLess {
  bool operator()(const IID& a, const IID& b) const { return memcmp(&a, &b, sizeof(IID)) < 0; }
};

struct Cache {
  std::mutex mutex;
  ComPtr<ITypeLib> library;
  std::map<IID, InterfaceInfo, IidLess> interfaces;
};

// Never destroyed: releasing into oleaut32 while the process ends is not safe. The module
// drops the contents itself when it may be unloaded.
Cache& TheCache() {
  static Cache* cache = new Cache;
  return *cache;
}

HRESULT LoadLocked(Cache& cache) {
  if (cache.library) return S_OK;
  const std::wstring path = ThisModulePath();
  if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
  return LoadTypeLibEx(path.c_str(), REGKIND_NONE, cache.library.put());
}

// For a dual interface the library's entry is the dispatch view; its vtable view is the
// interface it implements at index -1.
HRESULT VtableView(ITypeInfo* dispatch, ComPtr<ITypeInfo>& out) {
  TYPEATTR* attr = nullptr;
  HRESULT hr = dispatch->GetTypeAttr(&attr);
  if (FAILED(hr)) return hr;
  const bool dual = attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL);
  dispatch->ReleaseTypeAttr(attr);
  if (!dual) {
    out = ComPtr<ITypeInfo>::Share(dispatch);
    return S_OK;
  }
  HREFTYPE ref = 0;
  hr = dispatch->GetRefTypeOfImplType(-1, &ref);
  if (FAILED(hr)) return hr;
  return dispatch->GetRefTypeInfo(ref, out.put());
}

}  // namespace

HRESULT OwnTypeLibrary(ComPtr<ITypeLib>& out) try {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  HRESULT hr = LoadLocked(cache);
  if (SUCCEEDED(hr)) out = cache.library;
  return hr;
} catch (...) {
  return E_OUTOFMEMORY;
}

HRESULT OwnInterfaceInfo(REFIID iid, InterfaceInfo& out) try {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  auto found = cache.interfaces.find(iid);
  if (found != cache.interfaces.end()) {
    out = found->second;
    return S_OK;
  }
  HRESULT hr = LoadLocked(cache);
  if (FAILED(hr)) return hr;
  InterfaceInfo info;
  hr = cache.library->GetTypeInfoOfGuid(iid, info.dispatch.put());
  if (FAILED(hr)) return hr;
  hr = VtableView(info.dispatch.get(), info.vtable);
  if (FAILED(hr)) return hr;
  cache.interfaces.emplace(iid, info);
  out = info;
  return S_OK;
} catch (...) {
  return E_OUTOFMEMORY;
}

void ReleaseTypeLibrary() noexcept {
  Cache& cache = TheCache();
  if (!cache.mutex.try_lock()) return;  // in use: it is dropped at the next chance
  cache.interfaces.clear();
  cache.library = nullptr;
  cache.mutex.unlock();
}

}  // namespace comsupport
