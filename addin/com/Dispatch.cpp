#include "addin/com/Dispatch.h"

#include <ocidl.h>

#include <cstdio>

#include "comsupport/Text.h"
#include "library/support/Error.h"

namespace reminder::com {

namespace {

constexpr const char* kSource = "Outlook";

std::string HexOf(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

[[noreturn]] void RaiseCallFailure(const wchar_t* member, HRESULT hr, EXCEPINFO& info) {
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  std::string description = comsupport::Utf8(info.bstrDescription);
  const std::string source = info.bstrSource ? comsupport::Utf8(info.bstrSource) : kSource;
  const HRESULT code = hr == DISP_E_EXCEPTION && info.scode ? info.scode : hr;
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrHelpFile);
  if (description.empty()) {
    description = "Outlook's " + comsupport::Utf8(member, wcslen(member)) + " failed (" + HexOf(code) + ")";
  }
  throw falcrest::Error(static_cast<int32_t>(code), source, description);
}

[[noreturn]] void RaiseMissingMember(const wchar_t* member, HRESULT hr) {
  throw falcrest::Error(static_cast<int32_t>(hr), kSource,
                        "Outlook's object has no member " + comsupport::Utf8(member, wcslen(member)) + " (" +
                            HexOf(hr) + ")");
}

void Converted(IDispatch* object, const wchar_t* member, VARTYPE type, Variant& out) {
  Variant raw;
  Call(object, member, {}, raw);
  const HRESULT hr = VariantChangeType(out.get(), raw.get(), 0, type);
  if (FAILED(hr)) {
    falcrest::RaiseTypeMismatch("Outlook's " + comsupport::Utf8(member, wcslen(member)) +
                                " has a value of an unexpected type");
  }
}

}  // namespace

void Call(IDispatch* object, const wchar_t* member, const std::vector<VARIANT>& args, Variant& result) {
  if (!object) falcrest::RaiseMissingObject("Outlook did not provide the object to read " +
                                            comsupport::Utf8(member, wcslen(member)) + " from");
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR name = const_cast<LPOLESTR>(member);
  HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) RaiseMissingMember(member, hr);

  // Arguments travel last-first.
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  EXCEPINFO info{};
  UINT argument_error = 0;
  VariantClear(result.get());
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params,
                      result.get(), &info, &argument_error);
  if (FAILED(hr)) RaiseCallFailure(member, hr, info);
}

ComPtr<IDispatch> ObjectOf(const VARIANT& argument) {
  const VARIANT* v = &argument;
  if (V_VT(v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(v)) v = V_VARIANTREF(v);
  switch (V_VT(v)) {
    case VT_DISPATCH:
      return ComPtr<IDispatch>::Share(V_DISPATCH(v));
    case VT_BYREF | VT_DISPATCH:
      return V_DISPATCHREF(v) ? ComPtr<IDispatch>::Share(*V_DISPATCHREF(v)) : nullptr;
    case VT_UNKNOWN:
      return ComPtr<IUnknown>::Share(V_UNKNOWN(v)).As<IDispatch>(IID_IDispatch);
    case VT_BYREF | VT_UNKNOWN:
      return V_UNKNOWNREF(v) ? ComPtr<IUnknown>::Share(*V_UNKNOWNREF(v)).As<IDispatch>(IID_IDispatch) : nullptr;
    case VT_EMPTY:
    case VT_NULL:
      return nullptr;
    default:
      falcrest::RaiseTypeMismatch("Outlook gave a value where an object was expected");
  }
}

ComPtr<IDispatch> GetMember(IDispatch* object, const wchar_t* member, const std::vector<VARIANT>& args) {
  Variant result;
  Call(object, member, args, result);
  return ObjectOf(result.value());
}

std::string GetText(IDispatch* object, const wchar_t* member) {
  Variant v;
  Converted(object, member, VT_BSTR, v);
  return comsupport::Utf8(V_BSTR(v.get()));
}

bool GetBoolean(IDispatch* object, const wchar_t* member) {
  Variant v;
  Converted(object, member, VT_BOOL, v);
  return V_BOOL(v.get()) != VARIANT_FALSE;
}

LONG GetLong(IDispatch* object, const wchar_t* member) {
  Variant v;
  Converted(object, member, VT_I4, v);
  return V_I4(v.get());
}

DATE GetDate(IDispatch* object, const wchar_t* member) {
  Variant v;
  Converted(object, member, VT_DATE, v);
  return V_DATE(v.get());
}

std::string TypeNameOf(IDispatch* object) {
  if (!object) return "Nothing";
  auto name_of = [](ITypeInfo* info) {
    comsupport::Bstr name;
    if (FAILED(info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr))) return std::string();
    return comsupport::Utf8(name.get());
  };
  ComPtr<IProvideClassInfo> provider = ComPtr<IDispatch>::Share(object).As<IProvideClassInfo>(IID_IProvideClassInfo);
  if (provider) {
    ComPtr<ITypeInfo> info;
    if (SUCCEEDED(provider->GetClassInfo(info.put())) && info) {
      const std::string name = name_of(info.get());
      if (!name.empty()) return name;
    }
  }
  UINT count = 0;
  if (SUCCEEDED(object->GetTypeInfoCount(&count)) && count > 0) {
    ComPtr<ITypeInfo> info;
    if (SUCCEEDED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) && info) {
      std::string name = name_of(info.get());
      if (!name.empty() && name[0] == '_') name.erase(0, 1);
      if (!name.empty()) return name;
    }
  }
  return "Object";
}

}  // namespace reminder::com
