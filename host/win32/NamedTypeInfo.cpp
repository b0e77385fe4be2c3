#include "host/win32/NamedTypeInfo.h"

namespace host::win32 {
namespace {

class NamedTypeInfo : public ITypeInfo {
 public:
  explicit NamedTypeInfo(std::wstring name) : name_(std::move(name)) {}
  virtual ~NamedTypeInfo() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_ITypeInfo) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }

  HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** out) override {
    if (!out) return E_POINTER;
    auto* attr = static_cast<TYPEATTR*>(CoTaskMemAlloc(sizeof(TYPEATTR)));
    if (!attr) return E_OUTOFMEMORY;
    ZeroMemory(attr, sizeof *attr);
    attr->typekind = TKIND_DISPATCH;
    attr->lcid = LOCALE_NEUTRAL;
    attr->memidConstructor = MEMBERID_NIL;
    attr->memidDestructor = MEMBERID_NIL;
    attr->cbSizeVft = 7 * sizeof(void*);
    attr->wTypeFlags = TYPEFLAG_FDISPATCHABLE;
    *out = attr;
    return S_OK;
  }
  void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR* attr) override { CoTaskMemFree(attr); }
  HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* help, BSTR* file) override {
    if (id != MEMBERID_NIL) return TYPE_E_ELEMENTNOTFOUND;
    if (name) *name = SysAllocString(name_.c_str());
    if (doc) *doc = nullptr;
    if (help) *help = 0;
    if (file) *file = nullptr;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp** out) override { return Nothing(out); }
  HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT, FUNCDESC** out) override { return Nothing(out); }
  HRESULT STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC** out) override { return Nothing(out); }
  HRESULT STDMETHODCALLTYPE GetNames(MEMBERID, BSTR*, UINT, UINT* count) override {
    if (count) *count = 0;
    return TYPE_E_ELEMENTNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT, HREFTYPE*) override { return TYPE_E_ELEMENTNOTFOUND; }
  HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT, INT*) override { return TYPE_E_ELEMENTNOTFOUND; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override { return DISP_E_UNKNOWNNAME; }
  HRESULT STDMETHODCALLTYPE Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE, ITypeInfo** out) override { return Nothing(out); }
  HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID* out) override { return Nothing(out); }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, PVOID* out) override { return Nothing(out); }
  HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR* out) override { return Nothing(out); }
  HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib** out, UINT* index) override {
    if (index) *index = 0;
    return Nothing(out);
  }
  void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC*) override {}
  void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) override {}

 private:
  template <class T>
  static HRESULT Nothing(T** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  ULONG refs_ = 1;
  std::wstring name_;
};

}  // namespace

ITypeInfo* NewNamedTypeInfo(const std::wstring& name) { return new NamedTypeInfo(name); }

}  // namespace host::win32
