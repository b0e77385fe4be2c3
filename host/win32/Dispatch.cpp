#include "host/win32/Dispatch.h"

#include <exception>

#include "host/win32/CallLog.h"
#include "host/win32/EventPoint.h"
#include "host/win32/NamedTypeInfo.h"
#include "library/support/Error.h"

namespace host::win32 {

std::vector<std::string>& CallLog() {
  static std::vector<std::string> log;
  return log;
}

DispatchObject::DispatchObject(std::wstring typeName, std::string label)
    : typeName_(std::move(typeName)), label_(std::move(label)) {}

DispatchObject::~DispatchObject() {
  for (EventPoint* point : points_) delete point;
}

HRESULT DispatchObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch) {
    *out = static_cast<IDispatch*>(this);
  } else if (iid == IID_IConnectionPointContainer && !points_.empty()) {
    *out = static_cast<IConnectionPointContainer*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG DispatchObject::AddRef() {
  const LONG n = ++refs_;
  if (n > modelRefs_) heldOutside_ = true;
  return n;
}

ULONG DispatchObject::Release() {
  const LONG n = --refs_;
  if (n == 0) {
    delete this;
    return 0;
  }
  // The model's own references plus the creator's one: nobody else holds it any more.
  if (heldOutside_ && n == modelRefs_) {
    heldOutside_ = false;
    LogCall("release " + label_);
  }
  return n;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  *out = NewNamedTypeInfo(typeName_);
  return S_OK;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (count == 0) return S_OK;
  for (const Member& m : members_) {
    if (_wcsicmp(m.name, names[0]) == 0) ids[0] = m.id;
  }
  if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  // Named arguments are not supported: every member takes its arguments by position.
  if (count > 1) hr = DISP_E_UNKNOWNNAME;
  return hr;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* exception, UINT* argumentError) {
  if (argumentError) *argumentError = 0;
  if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
  bool known = false;
  for (const Member& m : members_) known = known || m.id == id;
  if (!known) return DISP_E_MEMBERNOTFOUND;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT local;
  VariantInit(&local);
  VARIANT& out = result ? *result : local;
  if (result) VariantInit(result);
  HRESULT hr;
  std::string description;
  try {
    hr = Call(id, flags, params ? *params : none, out);
  } catch (const falcrest::Error& e) {
    description = e.Description();
    hr = DISP_E_EXCEPTION;
  } catch (const std::exception& e) {
    description = e.what();
    hr = DISP_E_EXCEPTION;
  }
  VariantClear(&local);
  if (hr == DISP_E_EXCEPTION && exception) {
    ZeroMemory(exception, sizeof *exception);
    exception->bstrSource = SysAllocString(L"reminder-host");
    exception->bstrDescription = SysAllocString(Wide(description).c_str());
    exception->scode = E_FAIL;
  }
  return hr;
}

HRESULT DispatchObject::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT DispatchObject::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (EventPoint* point : points_) {
    if (point->Iid() == iid) {
      *out = point;
      point->AddRef();
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

EventPoint& DispatchObject::AddEventPoint(REFIID iid, const char* name) {
  points_.push_back(new EventPoint(*this, iid, name));
  return *points_.back();
}

VARIANT* Argument(DISPPARAMS& params, UINT index) {
  if (index >= params.cArgs) return nullptr;
  VARIANT* v = &params.rgvarg[params.cArgs - 1 - index];
  while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
  return v;
}

void SetObject(VARIANT& result, IDispatch* object) {
  result.vt = VT_DISPATCH;
  result.pdispVal = object;
  if (object) object->AddRef();
}

void SetText(VARIANT& result, const std::string& utf8) {
  result.vt = VT_BSTR;
  result.bstrVal = SysAllocString(Wide(utf8).c_str());
}

std::string Utf8(const wchar_t* text, int length) {
  if (!text) return std::string();
  if (length < 0) length = static_cast<int>(wcslen(text));
  if (length == 0) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

}  // namespace host::win32
