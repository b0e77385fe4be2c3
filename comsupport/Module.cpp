#include "comsupport/Module.h"

#include <atomic>

#include "comsupport/TypeLibrary.h"

namespace comsupport {

namespace {
std::atomic<long> objects{0};
std::atomic<long> locks{0};
}  // namespace

void ObjectCreated() { ++objects; }
void ObjectDestroyed() { --objects; }
void LockModule(bool lock) { lock ? ++locks : --locks; }
long ModuleUseCount() { return objects + locks; }

HRESULT CanUnloadNow() {
  if (ModuleUseCount() != 0) return S_FALSE;
  ReleaseTypeLibrary();
  return S_OK;
}

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

std::wstring ThisModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);  // cut short: try again with room for a long path
  }
}

}  // namespace comsupport
