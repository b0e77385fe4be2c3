#include "FalcrestDll.h"

#include <cstdio>
#include <vector>

namespace falcrest_dll {

std::wstring Path() {
  std::vector<wchar_t> buffer(MAX_PATH * 4);
  const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  std::wstring path(buffer.data(), length);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"Falcrest.dll";
}

std::string GuidText(const GUID& g) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2],
                g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

GUID ParseGuid(const char* text) {
  GUID guid{};
  const std::wstring wide(text, text + std::char_traits<char>::length(text));
  CLSIDFromString(wide.c_str(), &guid);
  return guid;
}

std::string Narrow(const wchar_t* text) {
  if (!text) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string result(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
  return result;
}

std::string TypeName(ITypeInfo* owner, const TYPEDESC& type) {
  switch (type.vt) {
    case VT_I4: return "long";
    case VT_BSTR: return "BSTR";
    case VT_BOOL: return "VARIANT_BOOL";
    case VT_DATE: return "DATE";
    case VT_VARIANT: return "VARIANT";
    case VT_HRESULT: return "HRESULT";
    case VT_VOID: return "void";
    case VT_PTR: return TypeName(owner, *type.lptdesc) + "*";
    case VT_USERDEFINED: {
      ITypeInfo* referenced = nullptr;
      std::string name = "?";
      if (SUCCEEDED(owner->GetRefTypeInfo(type.hreftype, &referenced))) {
        BSTR text = nullptr;
        if (SUCCEEDED(referenced->GetDocumentation(MEMBERID_NIL, &text, nullptr, nullptr, nullptr))) name = Narrow(text);
        SysFreeString(text);
        referenced->Release();
      }
      return name;
    }
    default: return "vt" + std::to_string(type.vt);
  }
}

namespace {

std::string Flags(USHORT flags) {
  std::string text;
  auto add = [&](USHORT bit, const char* name) {
    if (flags & bit) text += (text.empty() ? "" : ",") + std::string(name);
  };
  add(PARAMFLAG_FIN, "in");
  add(PARAMFLAG_FOUT, "out");
  add(PARAMFLAG_FOPT, "opt");
  add(PARAMFLAG_FRETVAL, "retval");
  add(PARAMFLAG_FLCID, "lcid");
  return "[" + text + "]";
}

std::string DefaultValue(const PARAMDESC& param) {
  if (!(param.wParamFlags & PARAMFLAG_FHASDEFAULT) || !param.pparamdescex) return std::string();
  VARIANT& value = param.pparamdescex->varDefaultValue;
  if (V_VT(&value) == VT_BSTR) return " = \"" + Narrow(V_BSTR(&value)) + "\"";
  VARIANT text;
  VariantInit(&text);
  std::string result = " = ?";
  if (SUCCEEDED(VariantChangeType(&text, &value, 0, VT_BSTR))) result = " = " + Narrow(V_BSTR(&text));
  VariantClear(&text);
  return result;
}

const char* KindWord(INVOKEKIND kind) {
  switch (kind) {
    case INVOKE_FUNC: return "method";
    case INVOKE_PROPERTYGET: return "get";
    case INVOKE_PROPERTYPUT: return "let";
    case INVOKE_PROPERTYPUTREF: return "set";
  }
  return "?";
}

}  // namespace

std::string Describe(ITypeInfo* info, const FUNCDESC& func) {
  BSTR names[16] = {};
  UINT count = 0;
  info->GetNames(func.memid, names, 16, &count);
  char id[16];
  std::snprintf(id, sizeof id, "0x%08lX", static_cast<unsigned long>(func.memid));

  std::string params, result = "void";
  for (SHORT i = 0; i < func.cParams; ++i) {
    const ELEMDESC& param = func.lprgelemdescParam[i];
    const USHORT flags = param.paramdesc.wParamFlags;
    if (flags & PARAMFLAG_FRETVAL) {
      // The result of the member: a pointer to it, marked out and retval and nothing else.
      result = param.tdesc.vt == VT_PTR ? TypeName(info, *param.tdesc.lptdesc) : "not a pointer";
      if ((flags & ~PARAMFLAG_FRETVAL) != PARAMFLAG_FOUT) result += " " + Flags(flags);
      if (i != func.cParams - 1) result += " (not last)";
      continue;
    }
    if (!params.empty()) params += ", ";
    params += Flags(flags & ~PARAMFLAG_FHASDEFAULT) + " " + TypeName(info, param.tdesc);
    // A let's value has no name a caller can use; every other parameter is named as the class's users expect.
    if (func.invkind != INVOKE_PROPERTYPUT && static_cast<UINT>(i + 1) < count) params += " " + Narrow(names[i + 1]);
    params += DefaultValue(param.paramdesc);
  }
  std::string line = std::string(KindWord(func.invkind)) + " " + Narrow(names[0]) + " " + id + " (" + params +
                     ") -> " + result;
  if (func.elemdescFunc.tdesc.vt != VT_HRESULT) line += " returning " + TypeName(info, func.elemdescFunc.tdesc);
  for (UINT i = 0; i < count; ++i) SysFreeString(names[i]);
  return line;
}

}  // namespace falcrest_dll
