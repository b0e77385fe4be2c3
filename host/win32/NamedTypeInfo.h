#pragma once
// The type information of an object without a type library: only its name, which is what a
// caller reads to tell an appointment from a mail (GetDocumentation of MEMBERID_NIL).
#include <windows.h>
#include <oaidl.h>

#include <string>

namespace host::win32 {

// A new type information of that name, one reference for the caller.
ITypeInfo* NewNamedTypeInfo(const std::wstring& name);

}  // namespace host::win32
