// Reminder.dll's class object and add-in object, reached through its exports as COM does.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const wchar_t* kDesignerClass = L"{16297E5E-0499-465F-A921-9CB8E321A787}";
constexpr const wchar_t* kDefaultInterface = L"{97A2D147-585F-49CC-A969-3E1F0A5CA0CA}";
constexpr const wchar_t* kExtensibility = L"{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}";

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

GUID Guid(const wchar_t* text) {
  GUID guid{};
  CLSIDFromString(const_cast<LPOLESTR>(text), &guid);
  return guid;
}

std::string Narrow(const wchar_t* text) { return std::string(text, text + wcslen(text)); }

// Reminder.dll beside the test program.
HMODULE Dll() {
  static HMODULE module = [] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dll(path, n);
    dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"Reminder.dll";
    return LoadLibraryW(dll.c_str());
  }();
  return module;
}

template <class Fn>
Fn Export(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(Dll(), name)));
}

TEST(ReminderServer, HandsOutAFactoryOnlyForItsOwnClass) {
  auto get = Export<GetClassObjectFn>("DllGetClassObject");
  ASSERT_TRUE(get) << "Reminder.dll or its DllGetClassObject is missing";
  const wchar_t* foreign[] = {
      L"{0D5E3C2A-7F41-4B8E-9A53-2B6C1E0F4D77}",  // nobody's
      L"{59728CC6-1228-4F44-B1F7-8C57C7A847AA}",  // a class of Falcrest.dll
      L"{91A3B7DD-2A6C-4EE7-BA66-C2DAE1147942}",  // the settings page, served by Orvane.ocx
      L"{68672A59-5545-4A49-A285-1C85EC9EBA62}",  // the library's own ID, not a class
      kDefaultInterface, kExtensibility,          // interfaces, not classes
  };
  for (const wchar_t* clsid : foreign) {
    void* factory = reinterpret_cast<void*>(1);
    EXPECT_EQ(get(Guid(clsid), IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE) << Narrow(clsid);
    EXPECT_EQ(factory, nullptr) << Narrow(clsid) << ": the out-parameter is cleared";
  }
  IClassFactory* factory = nullptr;
  ASSERT_EQ(get(Guid(kDesignerClass), IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  factory->Release();
}

// One object answers to its default interface and to IDTExtensibility2, each describing
// itself by its own type, and keeps the module loaded while it lives. Calls of an
// unconnected add-in succeed and show nothing.
TEST(ReminderServer, AddinObjectAnswersItsInterfaces) {
  auto get = Export<GetClassObjectFn>("DllGetClassObject");
  auto canUnload = Export<CanUnloadNowFn>("DllCanUnloadNow");
  ASSERT_TRUE(get && canUnload);
  IClassFactory* factory = nullptr;
  ASSERT_EQ(get(Guid(kDesignerClass), IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  IUnknown* object = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
  factory->Release();
  EXPECT_EQ(canUnload(), S_FALSE) << "an object lives";

  IDispatch* byDefault = nullptr;
  IDispatch* extensibility = nullptr;
  ASSERT_EQ(object->QueryInterface(Guid(kDefaultInterface), reinterpret_cast<void**>(&byDefault)), S_OK);
  ASSERT_EQ(object->QueryInterface(Guid(kExtensibility), reinterpret_cast<void**>(&extensibility)), S_OK);
  IUnknown* identity = nullptr;
  ASSERT_EQ(extensibility->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
  EXPECT_EQ(identity, object) << "IDTExtensibility2 belongs to the same object";
  identity->Release();

  auto typeName = [](IDispatch* d) {
    ITypeInfo* info = nullptr;
    if (d->GetTypeInfo(0, 0x409, &info) != S_OK) return std::string("(no type information)");
    BSTR name = nullptr;
    info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    info->Release();
    std::string text = name ? Narrow(name) : "";
    SysFreeString(name);
    return text;
  };
  EXPECT_EQ(typeName(byDefault), "_ReminderDesigner");
  EXPECT_EQ(typeName(extensibility), "IDTExtensibility2");

  const wchar_t* members[] = {L"OnConnection", L"OnDisconnection", L"OnAddInsUpdate", L"OnStartupComplete",
                              L"onbeginshutdown"};
  for (DISPID expected = 1; expected <= 5; ++expected) {
    LPOLESTR name = const_cast<LPOLESTR>(members[expected - 1]);
    DISPID id = 0;
    EXPECT_EQ(extensibility->GetIDsOfNames(IID_NULL, &name, 1, 0x409, &id), S_OK) << Narrow(name);
    EXPECT_EQ(id, expected) << Narrow(name);
  }
  // OnDisconnection(ext_dm_UserClosed, custom) of an add-in that was never connected.
  SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
  VARIANT args[2];
  VariantInit(&args[0]);
  V_VT(&args[0]) = VT_BYREF | VT_ARRAY | VT_VARIANT;
  V_ARRAYREF(&args[0]) = &custom;
  VariantInit(&args[1]);
  V_VT(&args[1]) = VT_I4;
  V_I4(&args[1]) = 1;
  DISPPARAMS params{args, nullptr, 2, 0};
  EXPECT_EQ(extensibility->Invoke(2, IID_NULL, 0x409, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
  SafeArrayDestroy(custom);

  byDefault->Release();
  extensibility->Release();
  object->Release();
  EXPECT_EQ(canUnload(), S_OK) << "the last object is gone";
}

}  // namespace
