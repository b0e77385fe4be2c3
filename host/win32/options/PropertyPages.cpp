#include "host/win32/options/PropertyPages.h"

#include <atomic>
#include <utility>

namespace host::win32 {

namespace {

const IID kIidPropertyPages = {0x00063080, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr DISPID kDispAdd = 0x12C;
constexpr DISPID kDispCount = 0x50;

class Pages final : public IDispatch {
 public:
  explicit Pages(AddPage add) : add_(std::move(add)) {}
  void Detach() { add_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != kIidPropertyPages) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      if (i == 0 && lstrcmpiW(names[i], L"Add") == 0) ids[i] = kDispAdd;
      if (i == 0 && lstrcmpiW(names[i], L"Count") == 0) ids[i] = kDispCount;
      if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT* argErr) override {
    if (result) VariantInit(result);
    if (id == kDispCount) {
      if (result) {
        result->vt = VT_I4;
        result->lVal = count_;
      }
      return S_OK;
    }
    if (id != kDispAdd) return DISP_E_MEMBERNOTFOUND;
    if (!params || params->cNamedArgs > 0) return DISP_E_NONAMEDARGS;
    if (params->cArgs != 2) return DISP_E_BADPARAMCOUNT;
    // Arguments arrive last first: rgvarg[1] is Page, rgvarg[0] is Title.
    VARIANT page;
    VariantInit(&page);
    VARIANT title;
    VariantInit(&title);
    HRESULT hr = VariantCopyInd(&page, &params->rgvarg[1]);
    if (SUCCEEDED(hr)) hr = VariantChangeType(&title, &params->rgvarg[0], 0, VT_BSTR);
    if (FAILED(hr)) {
      if (argErr) *argErr = page.vt == VT_EMPTY ? 1 : 0;
      hr = DISP_E_TYPEMISMATCH;
    } else if (!add_) {
      hr = E_UNEXPECTED;
    } else {
      hr = add_(page, title.bstrVal ? title.bstrVal : L"");
      if (SUCCEEDED(hr)) ++count_;
    }
    VariantClear(&page);
    VariantClear(&title);
    return hr;
  }

 private:
  AddPage add_;
  long count_ = 0;
  std::atomic<ULONG> refs_{1};
};

}  // namespace

IDispatch* CreatePropertyPages(AddPage add) { return new Pages(std::move(add)); }

void DetachPropertyPages(IDispatch* pages) {
  if (pages) static_cast<Pages*>(pages)->Detach();
}

}  // namespace host::win32
