// Orvane.ocx's class objects, loaded as COM loads an in-process server (no registration).
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

const CLSID kReminderSetting = {0x91A3B7DD, 0x2A6C, 0x4EE7, {0xBA, 0x66, 0xC2, 0xDA, 0xE1, 0x14, 0x79, 0x42}};
const IID kDefaultInterface = {0xD8CEECD7, 0x99F5, 0x4576, {0x86, 0x20, 0xEA, 0x4C, 0xE0, 0x92, 0x24, 0x67}};
const IID kSourceInterface = {0x69161530, 0xA4E2, 0x4326, {0x93, 0x23, 0x19, 0xD6, 0x47, 0x12, 0x09, 0xA7}};
const IID kPropertyPage = {0x0006307E, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const GUID kLibrary = {0x02CE1A2A, 0x3729, 0x4CE4, {0xB9, 0x51, 0x5E, 0xAA, 0x1E, 0x8D, 0xF5, 0x71}};
const CLSID kWebService = {0x1E057B4E, 0xC095, 0x450E, {0xA9, 0xB2, 0xC8, 0x28, 0xC8, 0x8B, 0x2C, 0x5A}};
const CLSID kReminderDesigner = {0x16297E5E, 0x0499, 0x465F, {0xA9, 0x21, 0x9C, 0xB8, 0xE3, 0x21, 0xA7, 0x87}};

class OrvaneServer : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    const std::wstring path = std::wstring(_wgetenv(L"TEST_BIN_DIR") ? _wgetenv(L"TEST_BIN_DIR") : L".") + L"\\bin\\Orvane.ocx";
    ocx_ = LoadLibraryW(path.c_str());
    if (!ocx_) ocx_ = LoadLibraryW(L"Orvane.ocx");  // beside the test program
    ASSERT_NE(ocx_, nullptr) << "cannot load Orvane.ocx";
    get_ = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(ocx_, "DllGetClassObject")));
    unload_ = reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(GetProcAddress(ocx_, "DllCanUnloadNow")));
    ASSERT_NE(get_, nullptr);
    ASSERT_NE(unload_, nullptr);
  }
  void TearDown() override {
    if (ocx_) FreeLibrary(ocx_);
    CoUninitialize();
  }

  HMODULE ocx_ = nullptr;
  GetClassObject get_ = nullptr;
  CanUnloadNow unload_ = nullptr;
};

TEST_F(OrvaneServer, ClassObjectOnlyForReminderSetting) {
  IClassFactory* factory = nullptr;
  ASSERT_EQ(get_(kReminderSetting, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(unload_(), S_FALSE) << "a factory held keeps the server loaded";
  factory->Release();
  EXPECT_EQ(unload_(), S_OK);

  // Identities of the same library, of the other deliverables, and none at all.
  const GUID others[] = {kDefaultInterface, kSourceInterface, kPropertyPage, kLibrary, kWebService, kReminderDesigner, GUID_NULL};
  for (const GUID& other : others) {
    void* out = reinterpret_cast<void*>(1);
    wchar_t text[40];
    StringFromGUID2(other, text, 40);
    EXPECT_EQ(get_(other, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE) << "class " << text;
    EXPECT_EQ(out, nullptr) << "class " << text;
  }
}

}  // namespace
