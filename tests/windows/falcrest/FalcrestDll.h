// Helpers for the tests of Falcrest.dll as a file: where it is, its type library, and COM text.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace falcrest_dll {

// Falcrest.dll beside the test program (both live in the build's bin folder).
std::wstring Path();

// The GUID written as text, "{XXXXXXXX-...}", upper case.
std::string GuidText(const GUID& guid);
GUID ParseGuid(const char* text);

std::string Narrow(const wchar_t* text);

// A type as a C declaration would name it: "long", "BSTR*", "_LicenseType**".
std::string TypeName(ITypeInfo* owner, const TYPEDESC& type);

// One member of an interface on one line: "get DeviceId 0x68030007 () -> long",
// "method Serialize 0x60030008 ([in,opt] BSTR tag = \"Device\") -> BSTR".
std::string Describe(ITypeInfo* info, const FUNCDESC& func);

}  // namespace falcrest_dll
