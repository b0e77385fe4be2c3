// Falcrest.dll's embedded type library, read as any COM client reads it, against the written-down
// surface: identities, flags, members in slot order, dispatch IDs and parameter types.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "FalcrestDll.h"
#include "FalcrestSurface.h"

using namespace falcrest_dll;
using namespace falcrest_surface;

namespace {

ITypeLib* Library() {
  static ITypeLib* library = [] {
    ITypeLib* loaded = nullptr;
    const HRESULT hr = LoadTypeLibEx(Path().c_str(), REGKIND_NONE, &loaded);
    if (FAILED(hr)) ADD_FAILURE() << "LoadTypeLibEx(" << Narrow(Path().c_str()) << ") failed: 0x" << std::hex << hr;
    return loaded;
  }();
  return library;
}

std::string DocName(ITypeInfo* info) {
  BSTR name = nullptr;
  info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  std::string text = Narrow(name);
  SysFreeString(name);
  return text;
}

std::string Hex(long id) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(id));
  return text;
}

// The members of a class as its vtable interface must describe them, slot by slot from slot 7.
std::vector<std::string> ExpectedLines(const Class& c) {
  std::vector<std::string> lines;
  for (const Member& m : c.members) {
    const std::string id = Hex(m.dispid);
    if (m.kind == Kind::Method) {
      lines.push_back("method " + std::string(m.name) + " " + id + " (" + m.params + ") -> " + m.result);
      continue;
    }
    lines.push_back("get " + std::string(m.name) + " " + id + " () -> " + m.params);
    if (m.kind == Kind::Property) lines.push_back("let " + std::string(m.name) + " " + id + " ([in] " + m.params + ") -> void");
  }
  return lines;
}

TEST(FalcrestTypeLibrary, LibraryIdentity) {
  ITypeLib* library = Library();
  ASSERT_NE(library, nullptr);
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
  EXPECT_EQ(GuidText(attr->guid), kLibraryId);
  EXPECT_EQ(attr->wMajorVerNum, kMajorVersion);
  EXPECT_EQ(attr->wMinorVerNum, kMinorVersion);
  EXPECT_EQ(attr->lcid, kLocale);
#ifdef _WIN64
  EXPECT_EQ(attr->syskind, SYS_WIN64);
#else
  EXPECT_EQ(attr->syskind, SYS_WIN32);
#endif
  library->ReleaseTLibAttr(attr);

  BSTR name = nullptr, help = nullptr, helpFile = nullptr;
  ASSERT_EQ(library->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, &helpFile), S_OK);
  EXPECT_EQ(Narrow(name), kLibraryName);
  EXPECT_EQ(Narrow(help), kLibraryHelp);
  EXPECT_EQ(Narrow(helpFile), "") << "the library names no help file";
  SysFreeString(name);
  SysFreeString(help);
  SysFreeString(helpFile);
}

// Exactly the fourteen classes and their interfaces, under names spelt as written: a type library
// keeps the first spelling of a name, so a parameter spelt like a class would rename it.
TEST(FalcrestTypeLibrary, HoldsEveryClassAndNothingElse) {
  ITypeLib* library = Library();
  ASSERT_NE(library, nullptr);
  std::set<std::string> expected, found;
  for (const Class& c : Classes()) {
    expected.insert(std::string("coclass ") + c.name);
    expected.insert(std::string("interface _") + c.name);
  }
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    ITypeInfo* info = nullptr;
    ASSERT_EQ(library->GetTypeInfo(i, &info), S_OK);
    TYPEKIND kind{};
    library->GetTypeInfoType(i, &kind);
    found.insert((kind == TKIND_COCLASS ? "coclass " : kind == TKIND_DISPATCH ? "interface " : "other ") + DocName(info));
    info->Release();
  }
  EXPECT_EQ(found, expected);
}

class FalcrestClass : public ::testing::TestWithParam<Class> {};

TEST_P(FalcrestClass, DefaultInterface) {
  const Class& c = GetParam();
  ITypeLib* library = Library();
  ASSERT_NE(library, nullptr);
  ITypeInfo* dispatch = nullptr;
  ASSERT_EQ(library->GetTypeInfoOfGuid(ParseGuid(c.iid), &dispatch), S_OK) << "no interface " << c.iid;
  EXPECT_EQ(DocName(dispatch), std::string("_") + c.name);

  // A dual interface: its vtable half holds the members; the flags are those of the interface.
  HREFTYPE vtableRef = 0;
  ITypeInfo* vtable = nullptr;
  ASSERT_EQ(dispatch->GetRefTypeOfImplType(-1, &vtableRef), S_OK) << "not dual";
  ASSERT_EQ(dispatch->GetRefTypeInfo(vtableRef, &vtable), S_OK);
  dispatch->Release();

  TYPEATTR* attr = nullptr;
  ASSERT_EQ(vtable->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FHIDDEN) << "hidden";
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL) << "dual";
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FNONEXTENSIBLE) << "nonextensible";
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION) << "oleautomation";
  EXPECT_EQ(attr->cImplTypes, 1);
  HREFTYPE baseRef = 0;
  ITypeInfo* base = nullptr;
  if (SUCCEEDED(vtable->GetRefTypeOfImplType(0, &baseRef)) && SUCCEEDED(vtable->GetRefTypeInfo(baseRef, &base))) {
    EXPECT_EQ(DocName(base), "IDispatch");
    base->Release();
  }

  const std::vector<std::string> expected = ExpectedLines(c);
  EXPECT_EQ(attr->cFuncs, expected.size());
  EXPECT_EQ(attr->cbSizeVft, (7 + expected.size()) * sizeof(void*));
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* func = nullptr;
    ASSERT_EQ(vtable->GetFuncDesc(i, &func), S_OK);
    const size_t slot = func->oVft / sizeof(void*);
    // Members are listed in slot order: the i-th one sits in slot 7 + i.
    EXPECT_EQ(slot, 7 + i) << c.name << ": member " << i << " is " << Describe(vtable, *func);
    const std::string wanted = i < expected.size() ? expected[i] : "(nothing)";
    EXPECT_EQ(Describe(vtable, *func), wanted) << c.name << ", slot " << slot;
    vtable->ReleaseFuncDesc(func);
  }
  for (size_t i = attr->cFuncs; i < expected.size(); ++i) ADD_FAILURE() << c.name << ": missing " << expected[i];
  vtable->ReleaseTypeAttr(attr);
  vtable->Release();
}

TEST_P(FalcrestClass, CreatableCoclassWithItsDefaultInterface) {
  const Class& c = GetParam();
  ITypeLib* library = Library();
  ASSERT_NE(library, nullptr);
  ITypeInfo* coclass = nullptr;
  ASSERT_EQ(library->GetTypeInfoOfGuid(ParseGuid(c.clsid), &coclass), S_OK) << "no class " << c.clsid;
  EXPECT_EQ(DocName(coclass), c.name);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FCANCREATE) << "creatable";
  ASSERT_EQ(attr->cImplTypes, 1);
  coclass->ReleaseTypeAttr(attr);

  INT flags = 0;
  HREFTYPE ref = 0;
  ITypeInfo* iface = nullptr;
  ASSERT_EQ(coclass->GetImplTypeFlags(0, &flags), S_OK);
  EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
  EXPECT_FALSE(flags & IMPLTYPEFLAG_FSOURCE);
  ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &ref), S_OK);
  ASSERT_EQ(coclass->GetRefTypeInfo(ref, &iface), S_OK);
  TYPEATTR* ifaceAttr = nullptr;
  ASSERT_EQ(iface->GetTypeAttr(&ifaceAttr), S_OK);
  EXPECT_EQ(GuidText(ifaceAttr->guid), c.iid);
  iface->ReleaseTypeAttr(ifaceAttr);
  iface->Release();
  coclass->Release();
}

std::string ClassName(const ::testing::TestParamInfo<Class>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Falcrest, FalcrestClass, ::testing::ValuesIn(Classes()), ClassName);

}  // namespace
