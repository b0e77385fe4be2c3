// The registry suite's file-bound cases, against the real registry: what SetData leaves
// there (read back through the wide-character functions, as the registry holds it), values
// other programs wrote, names in other case, and keys and values the registry refuses.
#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <functional>
#include <string>
#include <vector>

#include "TempRegistry.h"
#include "library/digest/CodePageEnv.h"
#include "library/registry/RegistryAPI.h"
#include "library/registry/RegistryClass.h"
#include "library/registry/RegistryStore.h"

namespace {

using falcrest::RegistryClass;
using namespace std::string_literals;

constexpr const char* kKey = "Software\\Tarvanel\\Test";

RegistryClass CurrentUserKey(const std::string& path = kKey) {
  RegistryClass key;
  key.SetRootKeyName("HKEY_CURRENT_USER");
  key.SetKeyName(path);
  return key;
}

// A value as the registry holds it: its type and its bytes through the wide functions.
struct Stored {
  DWORD type = REG_NONE;
  std::string bytes;
  bool operator==(const Stored& o) const { return type == o.type && bytes == o.bytes; }
};

std::ostream& operator<<(std::ostream& out, const Stored& v) {
  out << "type " << v.type << ":";
  for (unsigned char c : v.bytes) out << ' ' << std::hex << static_cast<int>(c) << std::dec;
  return out;
}

Stored Wide(const std::wstring& text) {
  return {REG_SZ, std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t))};
}

Stored ReadStored(const char* path, const wchar_t* name) {
  Stored v;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
    v.bytes.resize(size);
    RegQueryValueExW(key, name, nullptr, &v.type, reinterpret_cast<BYTE*>(&v.bytes[0]), &size);
    v.bytes.resize(size);
  }
  RegCloseKey(key);
  return v;
}

void WriteRaw(const wchar_t* name, DWORD type, const std::string& bytes) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

class RealRegistry : public registry_test::TempRegistry {};

TEST_F(RealRegistry, EachTextHasOneStoredFormAndReadsBack) {
  ScopedCodePage page("1252");
  REQUIRE_CODE_PAGE(page);
  const Stored dword42{REG_DWORD, "\x2a\0\0\0"s};
  struct Row {
    const char* typed;
    Stored stored;
    const char* read;
  };
  const Row rows[] = {
      {"42", dword42, "42"},
      {" 42 ", dword42, "42"},
      {"-1", {REG_DWORD, "\xff\xff\xff\xff"}, "-1"},
      {"-2147483648", {REG_DWORD, "\0\0\0\x80"s}, "-2147483648"},
      {"0042", Wide(L"0042"s + L'\0'), "0042"},
      {"4294967295", Wide(L"4294967295"s + L'\0'), "4294967295"},
      {"&H10", Wide(L"&H10"s + L'\0'), "&H10"},
      {"", Wide(L"\0"s), ""},
      {"   ", Wide(L"\0"s), ""},
      {"  bob smith  ", Wide(L"bob smith"s + L'\0'), "bob smith"},
      {"a\"b\\c", Wide(L"a\"b\\c"s + L'\0'), "a\"b\\c"},
      {"caf\xC3\xA9", Wide(L"caf\u00E9"s + L'\0'), "caf\xC3\xA9"},
      {"two\r\nlines", Wide(L"two\r\nlines"s + L'\0'), "two\r\nlines"},
      {"\xE6\x97\xA5\xF0\x9F\x98\x80", Wide(L"???"s + L'\0'), "???"},  // not in the page: one "?" per unit
  };
  RegistryClass key = CurrentUserKey();
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("typed \"") + row.typed + "\"");
    key.SetData("V", row.typed);
    EXPECT_EQ(ReadStored(kKey, L"V"), row.stored);
    EXPECT_EQ(key.GetData("V"), row.read);
    EXPECT_EQ(key.GetData("v"), row.read);
  }
}

// A double-byte page: the text is stored whole, with its NUL (run with LANG=ja_JP.UTF-8).
TEST_F(RealRegistry, DoubleByteTextIsStoredWholeWithItsNul) {
  ScopedCodePage page("932");
  REQUIRE_CODE_PAGE(page);
  RegistryClass key = CurrentUserKey();
  key.SetData("V", "\xE8\xA1\xA8\xE7\xA4\xBA");  // U+8868 U+793A: 95 5C 8E A6, a backslash inside
  EXPECT_EQ(ReadStored(kKey, L"V"), Wide(L"\u8868\u793A"s + L'\0'));
  falcrest::registry::Value value;
  ASSERT_TRUE(falcrest::registry::DefaultStore().QueryValue(falcrest::registry::kCurrentUser, kKey, "V", value));
  EXPECT_EQ(value.data, "\x95\x5C\x8E\xA6\0"s);
  EXPECT_EQ(key.GetData("V"), "\xE8\xA1\xA8\xE7\xA4\xBA");
}

TEST_F(RealRegistry, ValuesWrittenByOtherProgramsRead) {
  WriteRaw(L"NoNul", REG_SZ, Wide(L"abc").bytes);
  WriteRaw(L"InnerNul", REG_SZ, Wide(L"a\0b\0"s).bytes);
  WriteRaw(L"Expand", REG_EXPAND_SZ, Wide(L"%PATH%"s + L'\0').bytes);
  WriteRaw(L"Binary", REG_BINARY, "\x01\x02");
  WriteRaw(L"Multi", REG_MULTI_SZ, Wide(L"a\0b\0\0"s).bytes);
  WriteRaw(L"Qword", REG_QWORD, "\x2a\0\0\0\0\0\0\0"s);
  WriteRaw(L"BigEndian", REG_DWORD_BIG_ENDIAN, "\0\0\0\x2a"s);
  WriteRaw(L"Negative", REG_DWORD, "\x85\xff\xff\xff");
  WriteRaw(L"Empty", REG_SZ, "");
  WriteRaw(L"", REG_SZ, Wide(L"default"s + L'\0').bytes);
  struct Row {
    const char* name;
    const char* read;
  };
  const Row rows[] = {
      {"NoNul", "abc"}, {"InnerNul", "a"},      {"Expand", ""},        {"Binary", ""},
      {"Multi", ""},    {"Qword", ""},          {"BigEndian", ""},     {"Negative", "-123"},
      {"Empty", ""},    {"", "default"},        {"@", ""},             {"Missing", ""},
  };
  RegistryClass key = CurrentUserKey();
  for (const Row& row : rows) EXPECT_EQ(key.GetData(row.name), row.read) << "value \"" << row.name << "\"";

  // A REG_DWORD shorter than 4 bytes reaches the library as the system gives it.
  WriteRaw(L"ShortDword", REG_DWORD, "\x2a\0"s);
  falcrest::registry::Value value;
  ASSERT_TRUE(falcrest::registry::DefaultStore().QueryValue(falcrest::registry::kCurrentUser, kKey, "ShortDword", value));
  EXPECT_EQ(value.type, falcrest::registry::kDword);
  EXPECT_EQ(value.data, "\x2a\0"s);
}

// The registry compares names without case and keeps the spelling of the first write.
TEST_F(RealRegistry, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  CurrentUserKey("Software\\Tarvanel\\Test").SetData("UserID", "a");
  CurrentUserKey("SOFTWARE\\tarvanel\\TEST").SetData("USERID", "b");
  EXPECT_EQ(CurrentUserKey("software\\tarvanel\\test").GetData("userid"), "b");
  auto& store = falcrest::registry::DefaultStore();
  EXPECT_EQ(store.SubKeys(falcrest::registry::kCurrentUser, "SOFTWARE\\TARVANEL"), std::vector<std::string>{"Test"});
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kKey, &key), ERROR_SUCCESS);
  char name[64];
  DWORD size = sizeof name;
  EXPECT_EQ(RegEnumValueA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(std::string(name, size), "UserID");
  size = sizeof name;
  EXPECT_EQ(RegEnumValueA(key, 1, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  RegCloseKey(key);
}

// Makes `path` a key whose values anyone may read and nobody may write.
void MakeReadOnlyKey(const char* path) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, path, &key), ERROR_SUCCESS);
  PSECURITY_DESCRIPTOR sd = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1, &sd, nullptr));
  EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
  LocalFree(sd);
  RegCloseKey(key);
}

TEST_F(RealRegistry, KeysAndValuesThatCannotBeWrittenRaise) {
  MakeReadOnlyKey("Software\\ReadOnly");  // first: a volatile key's missing parents are volatile too
  HKEY volatile_key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Volatile", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &volatile_key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(volatile_key);
  const std::string long_part(300, 'k');
  struct Row {
    int32_t root;
    std::string path, name;
    const char* words;  // in the description, besides the key's path
  };
  const Row rows[] = {
      {0, "Software\\Tarvanel", "V", "cannot be created"},                       // no root
      {0x12345, "Software\\Tarvanel", "V", "cannot be created"},                 // not a key handle
      {static_cast<int32_t>(falcrest::registry::kCurrentUser), "Software\\Volatile\\Child", "V",
       "cannot be created"},                                                   // below a volatile key
      {static_cast<int32_t>(falcrest::registry::kCurrentUser), "Software\\" + long_part, "V",
       "cannot be created"},                                                   // a name over 255
      {static_cast<int32_t>(falcrest::registry::kCurrentUser), "Software\\ReadOnly", "V", "\"V\""},
      {static_cast<int32_t>(falcrest::registry::kCurrentUser), "Software\\Tarvanel", std::string(17000, 'n'), "error"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path.substr(0, 40));
    RegistryClass key;
    key.SetRootKey(row.root);
    key.SetKeyName(row.path);
    try {
      key.SetData(row.name, "x");
      ADD_FAILURE() << "SetData raised no error";
    } catch (const falcrest::Error& e) {
      EXPECT_EQ(e.Number(), falcrest::error_number::kComponentBase + 0x300);
      EXPECT_EQ(e.Source(), "Falcrest.RegistryClass");
      EXPECT_NE(e.Description().find(row.path), std::string::npos) << e.Description();
      EXPECT_NE(e.Description().find(row.words), std::string::npos) << e.Description();
    }
  }
  EXPECT_EQ(CurrentUserKey("Software\\ReadOnly").GetData("V"), "");
  EXPECT_FALSE(CurrentUserKey("Software\\Volatile\\Child").KeyExist());
  EXPECT_EQ(CurrentUserKey("Software\\Tarvanel").GetData(std::string(17000, 'n')), "");
}

// The test keys live below the real HKEY_CURRENT_USER and go with their test.
TEST(RealRegistryCleanUp, TestKeysAreRemoved) {
  struct Probe : registry_test::TempRegistry {
    void TestBody() override {}
    void Start() { SetUp(); }
    void End() { TearDown(); }
    std::string Base() const { return base_; }
  } probe;
  probe.Start();
  CurrentUserKey().SetData("V", "1");
  probe.End();
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyA(HKEY_CURRENT_USER, probe.Base().c_str(), &key), ERROR_SUCCESS);
  EXPECT_NE(RegOpenKeyA(HKEY_CURRENT_USER, kKey, &key), ERROR_SUCCESS);
}

}  // namespace
