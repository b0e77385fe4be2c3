// Falcrest.dll's class objects and unloading, called the way COM calls them: through the exports.
#include <gtest/gtest.h>

#include <string>

#include "FalcrestDll.h"
#include "FalcrestSurface.h"

using namespace falcrest_dll;
using namespace falcrest_surface;

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

struct Exports {
  GetClassObjectFn getClassObject = nullptr;
  CanUnloadNowFn canUnloadNow = nullptr;
};

const Exports& Dll() {
  static const Exports exports = [] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Exports e;
    HMODULE module = LoadLibraryW(Path().c_str());
    if (!module) {
      ADD_FAILURE() << "cannot load " << Narrow(Path().c_str()) << " (error " << GetLastError() << ")";
      return e;
    }
    // FARPROC is a placeholder type: go through void* to the real signatures.
    e.getClassObject =
        reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    e.canUnloadNow = reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    return e;
  }();
  return exports;
}

IClassFactory* Factory(const char* clsid) {
  IClassFactory* factory = nullptr;
  const HRESULT hr = Dll().getClassObject(ParseGuid(clsid), IID_IClassFactory, reinterpret_cast<void**>(&factory));
  EXPECT_EQ(hr, S_OK) << "DllGetClassObject(" << clsid << ")";
  return factory;
}

TEST(FalcrestServer, RefusesClassIdsThatAreNotItsOwn) {
  ASSERT_TRUE(Dll().getClassObject) << "DllGetClassObject is not exported";
  const char* foreign[] = {
      "{0D5E3C2A-7F41-4B8E-9A53-2B6C1E0F4D77}",  // nobody's
      "{16297E5E-0499-465F-A921-9CB8E321A787}",  // the add-in's class, served by Reminder.dll
      kLibraryId,                                // the library's own ID, not a class
      "{39D422F4-B21B-4A35-B690-F05B680FDC55}",  // an interface, not a class
  };
  for (const char* clsid : foreign) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(Dll().getClassObject(ParseGuid(clsid), IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE) << clsid;
    EXPECT_EQ(object, nullptr) << clsid << ": the out-parameter is cleared";
  }
}

TEST(FalcrestServer, CanUnloadOnlyWhenNoObjectLivesAndNoFactoryIsLocked) {
  ASSERT_TRUE(Dll().canUnloadNow) << "DllCanUnloadNow is not exported";
  ASSERT_TRUE(Dll().getClassObject);
  const char* md5Class = "{C665A611-61B8-425D-9E78-EEEB8EBB6773}";
  EXPECT_EQ(Dll().canUnloadNow(), S_OK) << "no object alive";

  IClassFactory* factory = Factory(md5Class);
  ASSERT_NE(factory, nullptr);
  IUnknown* object = nullptr;
  IUnknown* outer = factory;  // any object will do: the classes cannot be aggregated
  IUnknown* aggregated = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&aggregated)), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(aggregated, nullptr);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
  factory->Release();
  EXPECT_EQ(Dll().canUnloadNow(), S_FALSE) << "an object lives";
  object->Release();
  EXPECT_EQ(Dll().canUnloadNow(), S_OK) << "the last object is gone";

  factory = Factory(md5Class);
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory->Release();
  EXPECT_EQ(Dll().canUnloadNow(), S_FALSE) << "a factory is locked";
  factory = Factory(md5Class);
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  factory->Release();
  EXPECT_EQ(Dll().canUnloadNow(), S_OK) << "the lock is released";
}

class FalcrestServerClass : public ::testing::TestWithParam<Class> {};

// Each class ID gives an object that answers to its default interface and describes itself by it.
TEST_P(FalcrestServerClass, CreatesAnObjectOfItsDefaultInterface) {
  const Class& c = GetParam();
  ASSERT_TRUE(Dll().getClassObject);
  IClassFactory* factory = Factory(c.clsid);
  ASSERT_NE(factory, nullptr);
  IDispatch* object = nullptr;
  const HRESULT hr = factory->CreateInstance(nullptr, ParseGuid(c.iid), reinterpret_cast<void**>(&object));
  factory->Release();
  ASSERT_EQ(hr, S_OK) << "CreateInstance for " << c.iid;

  ITypeInfo* info = nullptr;
  ASSERT_EQ(object->GetTypeInfo(0, 0x409, &info), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(GuidText(attr->guid), c.iid);
  info->ReleaseTypeAttr(attr);
  info->Release();

  IDispatch* dispatch = nullptr;
  EXPECT_EQ(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  if (dispatch) dispatch->Release();
  object->Release();
}

std::string ClassName(const ::testing::TestParamInfo<Class>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Falcrest, FalcrestServerClass, ::testing::ValuesIn(Classes()), ClassName);

}  // namespace
