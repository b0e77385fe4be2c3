#pragma once
// The registry entries of a server, kept in one table: registration writes the table,
// unregistration removes the table's values and then each of its keys that is left empty,
// so exactly what registration wrote goes and nothing else does.
#include <windows.h>

#include <string>
#include <vector>

namespace comsupport {

struct RegistryValue {
  std::wstring name;  // empty: the key's default value
  std::wstring text;  // REG_SZ, unless `is_number`
  bool is_number = false;
  DWORD number = 0;  // REG_DWORD
};

struct RegistryEntry {
  HKEY root;
  std::wstring key;  // parents come before their subkeys in a table
  std::vector<RegistryValue> values;
};

// The entries of the module's type library and classes, read from its own TYPELIB resource,
// all below HKEY_CLASSES_ROOT: the library (TypeLib\{LIBID}\major.minor in hex, its locale,
// its file, flags and folder), every dual interface and dispinterface for marshalling
// through the type library, and for every class its class ID entry (InprocServer32 = the
// file's full path with ThreadingModel Apartment, ProgID "Library.Class", TypeLib, Version)
// and its ProgID entry.
HRESULT ServerEntries(std::vector<RegistryEntry>& out);
// Writes the entries in order; on the first failure removes them again and returns it.
HRESULT WriteEntries(const std::vector<RegistryEntry>& entries);
// Removes the entries' values, then every key of the table left with no value and no
// subkey, last entry first. Missing keys and values are no error.
HRESULT RemoveEntries(const std::vector<RegistryEntry>& entries);

// What DllRegisterServer and DllUnregisterServer do with a server's table: builds it with
// `entries` and writes or removes it; no exception leaves.
using EntriesBuilder = HRESULT (*)(std::vector<RegistryEntry>& out);
HRESULT RegisterServer(EntriesBuilder entries);
HRESULT UnregisterServer(EntriesBuilder entries);

}  // namespace comsupport
