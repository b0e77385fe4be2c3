// IDispatch::Invoke through the type library, made fit for script callers.
#include <vector>

#include "comsupport/Object.h"

namespace comsupport {

// {9185D8FF-08F9-4DE8-8472-B68C9F3B3081}
const IID IID_INativeObject = {0x9185d8ff, 0x08f9, 0x4de8, {0x84, 0x72, 0xb6, 0x8c, 0x9f, 0x3b, 0x30, 0x81}};

namespace {

// What one parameter of a member expects.
struct ParamType {
  bool by_reference = false;  // a pointer to `base` ([in, out] or [out])
  VARTYPE base = VT_EMPTY;    // VT_EMPTY: a type the fix leaves to ITypeInfo::Invoke
  IID iid = IID_NULL;         // for interface pointers (base VT_DISPATCH or VT_UNKNOWN)
};

bool IsInterface(VARTYPE vt) { return vt == VT_DISPATCH || vt == VT_UNKNOWN; }

// The interface a user-defined type names, or VT_EMPTY for anything else.
void DescribeUserDefined(ITypeInfo* info, HREFTYPE ref, ParamType& p) {
  ComPtr<ITypeInfo> target;
  if (FAILED(info->GetRefTypeInfo(ref, target.put()))) return;
  TYPEATTR* attr = nullptr;
  if (FAILED(target->GetTypeAttr(&attr))) return;
  if (attr->typekind == TKIND_DISPATCH || attr->typekind == TKIND_INTERFACE) {
    const bool dispatchable = attr->typekind == TKIND_DISPATCH || (attr->wTypeFlags & TYPEFLAG_FDISPATCHABLE);
    p.base = dispatchable ? VT_DISPATCH : VT_UNKNOWN;
    p.iid = attr->guid;
  }
  target->ReleaseTypeAttr(attr);
}

ParamType Describe(ITypeInfo* info, const ELEMDESC& element) {
  ParamType p;
  const TYPEDESC& t = element.tdesc;
  if (t.vt != VT_PTR) return p;  // by value: nothing to do
  const TYPEDESC& inner = *t.lptdesc;
  if (inner.vt == VT_USERDEFINED) return p;  // an interface pointer passed by value
  p.by_reference = true;
  if (inner.vt == VT_PTR && inner.lptdesc->vt == VT_USERDEFINED) {
    DescribeUserDefined(info, inner.lptdesc->hreftype, p);
  } else if (inner.vt != VT_PTR && inner.vt != VT_USERDEFINED && inner.vt != VT_VARIANT && inner.vt != VT_SAFEARRAY) {
    p.base = inner.vt;
  }
  return p;
}

// The parameters of the member `id` that answers `flags`; false when there is none.
bool FindMember(ITypeInfo* info, DISPID id, WORD flags, std::vector<ParamType>& params) {
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return false;
  const WORD count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  for (WORD i = 0; i < count; ++i) {
    FUNCDESC* func = nullptr;
    if (FAILED(info->GetFuncDesc(i, &func))) continue;
    const bool match = func->memid == id && (func->invkind & flags);
    if (match) {
      for (SHORT k = 0; k < func->cParams; ++k) params.push_back(Describe(info, func->lprgelemdescParam[k]));
    }
    info->ReleaseFuncDesc(func);
    if (match) return true;
  }
  return false;
}

// A copy of `source` of the type the parameter points to, in `target`.
HRESULT Coerce(const VARIANT& source, const ParamType& p, VARIANT& target) {
  if (!IsInterface(p.base)) return VariantChangeType(&target, const_cast<VARIANT*>(&source), 0, p.base);
  IUnknown* object = nullptr;
  switch (V_VT(&source)) {
    case VT_EMPTY:
      break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      object = V_UNKNOWN(&source);
      break;
    default:
      return DISP_E_TYPEMISMATCH;
  }
  V_VT(&target) = p.base;
  V_UNKNOWN(&target) = nullptr;
  if (object && FAILED(object->QueryInterface(p.iid, reinterpret_cast<void**>(&V_UNKNOWN(&target))))) {
    V_VT(&target) = VT_EMPTY;
    return DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}

// The arguments as the type library wants them, and what goes back to the caller after.
class Arguments {
 public:
  Arguments(const DISPPARAMS& params, const std::vector<ParamType>& types)
      : params_(params), types_(types), args_(params.rgvarg, params.rgvarg + params.cArgs),
        locals_(params.cArgs), write_back_(params.cArgs, nullptr) {
    for (VARIANT& v : locals_) VariantInit(&v);
  }
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;
  ~Arguments() {
    for (VARIANT& v : locals_) VariantClear(&v);
  }

  // Rewrites the arguments; on a type mismatch `failed` is the index of the argument.
  HRESULT Prepare(UINT& failed) {
    for (UINT i = 0; i < params_.cArgs; ++i) {
      const int index = ParamIndex(i);
      if (index < 0 || index >= static_cast<int>(types_.size())) continue;
      const HRESULT hr = PrepareOne(args_[i], types_[index], locals_[i], write_back_[i]);
      if (FAILED(hr)) {
        failed = i;
        return hr;
      }
    }
    return S_OK;
  }

  DISPPARAMS Fixed() {
    DISPPARAMS fixed = params_;
    fixed.rgvarg = args_.data();
    return fixed;
  }

  // The converted in/out values go back into the caller's variants, also after a failure
  // (what the member changed before it failed stays changed).
  void WriteBack() {
    for (size_t i = 0; i < locals_.size(); ++i) {
      if (!write_back_[i]) continue;
      VariantClear(write_back_[i]);
      *write_back_[i] = locals_[i];
      V_VT(&locals_[i]) = VT_EMPTY;
    }
  }

 private:
  int ParamIndex(UINT i) const {
    if (i < params_.cNamedArgs) {
      const DISPID named = params_.rgdispidNamedArgs[i];
      return named == DISPID_PROPERTYPUT ? static_cast<int>(types_.size()) - 1 : named;
    }
    return static_cast<int>(params_.cArgs - 1 - i);
  }

  static HRESULT PrepareOne(VARIANT& arg, const ParamType& type, VARIANT& local, VARIANT*& back) {
    const bool fixable = type.by_reference && type.base != VT_EMPTY;
    if (V_VT(&arg) == (VT_BYREF | VT_VARIANT)) {
      VARIANT* inner = V_VARIANTREF(&arg);
      if (!inner) return S_OK;
      if (!type.by_reference) {
        arg = *inner;  // read through; the caller keeps ownership
        return S_OK;
      }
      if (!fixable) return S_OK;
      const HRESULT hr = Coerce(*inner, type, local);
      if (FAILED(hr)) return hr;
      back = inner;
    } else if (fixable && !(V_VT(&arg) & VT_BYREF) && V_VT(&arg) != VT_ERROR) {
      const HRESULT hr = Coerce(arg, type, local);  // a value: the member gets a temporary
      if (FAILED(hr)) return hr;
    } else {
      return S_OK;
    }
    V_VT(&arg) = VT_BYREF | type.base;
    V_BYREF(&arg) = &V_UNKNOWN(&local);  // every member of the union starts here
    return S_OK;
  }

  const DISPPARAMS& params_;
  const std::vector<ParamType>& types_;
  std::vector<VARIANTARG> args_;
  std::vector<VARIANT> locals_;
  std::vector<VARIANT*> write_back_;
};

}  // namespace

HRESULT InvokeByTypeInfo(REFIID iid, IDispatch* self, DISPID id, LCID, WORD flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO* exception, UINT* argument_error) {
  if (!params) return E_INVALIDARG;
  InterfaceInfo info;
  HRESULT hr = OwnInterfaceInfo(iid, info);
  if (FAILED(hr)) return hr;
  ITypeInfo* vtable = info.vtable.get();

  try {
    std::vector<ParamType> types;
    bool found = FindMember(vtable, id, flags, types);
    if (!found && (flags & DISPATCH_PROPERTYPUTREF)) {
      // "Set obj.Prop = x": the record properties have a put accessor only.
      found = FindMember(vtable, id, DISPATCH_PROPERTYPUT, types);
      if (found) flags = DISPATCH_PROPERTYPUT;
    }
    if (!found) return vtable->Invoke(self, id, flags, params, result, exception, argument_error);

    Arguments arguments(*params, types);
    UINT failed = 0;
    hr = arguments.Prepare(failed);
    if (FAILED(hr)) {
      if (argument_error) *argument_error = failed;
      return hr;
    }
    DISPPARAMS fixed = arguments.Fixed();
    hr = vtable->Invoke(self, id, flags, &fixed, result, exception, argument_error);
    arguments.WriteBack();
    return hr;
  } catch (...) {
    return E_OUTOFMEMORY;  // only the copies of the member's description and arguments throw
  }
}

}  // namespace comsupport
