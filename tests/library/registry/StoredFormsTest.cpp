// What SetData leaves in the registry file, and what GetData gives back. The stored forms in
// the real registry are pinned by the Windows suite's own test.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "library/registry/RegistryClass.h"
#include "library/registry/RegistryStore.h"
#include "TempRegistry.h"

namespace {

using falcrest::RegistryClass;
using registry_test::TempRegistry;

constexpr const char* kKey = "Software\\Tarvanel\\Test";

RegistryClass CurrentUserKey(const std::string& path = kKey) {
  RegistryClass key;
  key.SetRootKeyName("HKEY_CURRENT_USER");
  key.SetKeyName(path);
  return key;
}

class StoredForms : public TempRegistry {};

#ifndef _WIN32
TEST_F(StoredForms, EachTextHasOneStoredLineAndReadsBack) {
  struct Row {
    const char* typed;
    const char* line;  // after "V"=
    const char* read;
  };
  const Row rows[] = {
      {"42", "dword:0000002a", "42"},
      {" 42 ", "dword:0000002a", "42"},
      {"-1", "dword:ffffffff", "-1"},
      {"0", "dword:00000000", "0"},
      {"2147483647", "dword:7fffffff", "2147483647"},
      {"-2147483648", "dword:80000000", "-2147483648"},
      // Anything but the canonical decimal form stays the text typed.
      {"0042", "\"0042\"", "0042"},
      {"2.5", "\"2.5\"", "2.5"},
      {"&H10", "\"&H10\"", "&H10"},
      {"&O17", "\"&O17\"", "&O17"},
      {"4294967295", "\"4294967295\"", "4294967295"},
      {"2147483648", "\"2147483648\"", "2147483648"},
      {"-2147483649", "\"-2147483649\"", "-2147483649"},
      {"+1", "\"+1\"", "+1"},
      {"-0", "\"-0\"", "-0"},
      {"1,000", "\"1,000\"", "1,000"},
      {"1e3", "\"1e3\"", "1e3"},
      {"", "\"\"", ""},
      {"   ", "\"\"", ""},
      {"  bob smith  ", "\"bob smith\"", "bob smith"},
      {"\t42", "\"\t42\"", "\t42"},  // only blanks are trimmed
      {"a\"b\\c", "\"a\\\"b\\\\c\"", "a\"b\\c"},
      {"caf\xC3\xA9", "\"caf\xE9\"", "caf\xC3\xA9"},  // stored in code page 1252
      {"two\r\nlines", "hex(1):74,77,6f,0d,0a,6c,69,6e,65,73,00", "two\r\nlines"},
  };
  RegistryClass key = CurrentUserKey();
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("typed \"") + row.typed + "\"");
    key.SetData("V", row.typed);
    EXPECT_EQ(LineOf("\"V\""), std::string("\"V\"=") + row.line);
    EXPECT_EQ(key.GetData("V"), row.read);
    EXPECT_EQ(key.GetData("v"), row.read);
  }
}
#endif

TEST_F(StoredForms, EmptyTextIsOneNulByte) {
  CurrentUserKey().SetData("V", "");
  falcrest::registry::Value value;
  ASSERT_TRUE(falcrest::registry::DefaultStore().QueryValue(falcrest::registry::kCurrentUser, kKey, "V", value));
  EXPECT_EQ(value.type, falcrest::registry::kSz);
  EXPECT_EQ(value.data, std::string(1, '\0'));
}

#ifndef _WIN32
TEST_F(StoredForms, DoubleByteTextIsStoredWholeWithItsNul) {
  // In code page 932 the trail byte of U+8868 is a backslash, which the file must escape.
  ::setenv("FALCREST_ANSI_CODEPAGE", "932", 1);
  RegistryClass key = CurrentUserKey();
  key.SetData("V", "\xE8\xA1\xA8\xE7\xA4\xBA");
  falcrest::registry::Value value;
  falcrest::registry::DefaultStore().QueryValue(falcrest::registry::kCurrentUser, kKey, "V", value);
  EXPECT_EQ(value.data, std::string("\x95\x5C\x8E\xA6\0", 5));
  EXPECT_EQ(LineOf("\"V\""), "\"V\"=\"\x95\\\\\x8E\xA6\"");
  EXPECT_EQ(key.GetData("V"), "\xE8\xA1\xA8\xE7\xA4\xBA");
  ::unsetenv("FALCREST_ANSI_CODEPAGE");
}
#endif

#ifndef _WIN32
TEST_F(StoredForms, ValuesWrittenByOtherProgramsRead) {
  WriteFileText(
      "REGEDIT4\n\n"
      "[HKEY_CURRENT_USER\\Software\\Tarvanel\\Test]\n"
      "\"NoNul\"=hex(1):61,62,63\n"
      "\"InnerNul\"=hex(1):61,00,62,00\n"
      "\"Expand\"=hex(2):25,50,41,54,48,25,00\n"
      "\"Binary\"=hex(3):01,02\n"
      "\"PlainHex\"=hex:01,02\n"
      "\"Multi\"=hex(7):61,00,62,00,00\n"
      "\"Qword\"=hex(b):2a,00,00,00,00,00,00,00\n"
      "\"Negative\"=dword:ffffff85\n"
      "\"DwordAsHex\"=hex(4):2a,00,00,00\n"
      "\"ShortDword\"=hex(4):2a,80\n"
      "\"NoDwordBytes\"=hex(4):\n"
      "\"LongDword\"=hex(4):2a,00,00,00,00\n"
      "\"Empty\"=hex(1):\n"
      "\"Quote\"=\"say \\\"hi\\\" C:\\\\dir\"\n"
      "@=\"default\"\n"
      "\"Long\"=hex(1):61,61,61,61,61,61,61,61,61,61,61,61,61,61,61,61,61,61,61,61,61,61,61,\\\n"
      "  62,62,00\n");
  struct Row {
    const char* name;
    const char* read;
  };
  const Row rows[] = {
      {"NoNul", "abc"},     {"InnerNul", "a"},     {"Expand", ""},       {"Binary", ""},
      {"PlainHex", ""},     {"Multi", ""},         {"Qword", ""},        {"Negative", "-123"},
      {"DwordAsHex", "42"}, {"ShortDword", "32810"}, {"NoDwordBytes", "0"}, {"LongDword", ""},
      {"Empty", ""},        {"Quote", "say \"hi\" C:\\dir"},
      {"", "default"},      {"@", ""},             {"Missing", ""},      {"Long", "aaaaaaaaaaaaaaaaaaaaaaabb"},
  };
  RegistryClass key = CurrentUserKey();
  for (const Row& row : rows) EXPECT_EQ(key.GetData(row.name), row.read) << "value \"" << row.name << "\"";
}
#endif

#ifndef _WIN32
TEST_F(StoredForms, OtherValuesKeepTheirFormWhenTheKeyIsRewritten) {
  const std::string kept =
      "\"Expand\"=hex(2):25,50,41,54,48,25,00\n"
      "\"NoNul\"=hex(1):61,62,63\n"
      "\"InnerNul\"=hex(1):61,00,62,00\n"
      "\"Multi\"=hex(7):61,00,62,00,00\n"
      "\"Qword\"=hex(b):2a,00,00,00,00,00,00,00\n"
      "\"PlainHex\"=hex:01,02\n"
      "@=\"default\"\n";
  WriteFileText("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tarvanel\\Test]\n" + kept);
  CurrentUserKey().SetData("Added", "1");
  EXPECT_EQ(FileText(),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tarvanel\\Test]\n" + kept + "\"Added\"=dword:00000001\n");
}
#endif

#ifndef _WIN32
TEST_F(StoredForms, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  CurrentUserKey("Software\\Tarvanel\\Test").SetData("UserID", "a");
  CurrentUserKey("SOFTWARE\\tarvanel\\TEST").SetData("USERID", "b");
  CurrentUserKey("software\\TARVANEL\\Other").SetData("x", "c");
  EXPECT_EQ(CurrentUserKey("software\\tarvanel\\test").GetData("userid"), "b");
  EXPECT_EQ(FileText(),
            "REGEDIT4\n\n"
            "[HKEY_CURRENT_USER\\Software\\Tarvanel\\Test]\n\"UserID\"=\"b\"\n\n"
            "[HKEY_CURRENT_USER\\Software\\Tarvanel\\Other]\n\"x\"=\"c\"\n");
}
#endif

TEST_F(StoredForms, DefaultValueIsWrittenAsAt) {
  RegistryClass key = CurrentUserKey();
  key.SetData("", "plain");
  key.SetData("@", "named at");
#ifndef _WIN32
  EXPECT_EQ(LineOf("@"), "@=\"plain\"");
  EXPECT_EQ(LineOf("\"@\""), "\"@\"=\"named at\"");
#endif
  EXPECT_EQ(key.GetData(""), "plain");
  EXPECT_EQ(key.GetData("@"), "named at");
}

TEST_F(StoredForms, LocalMachineAndClassesRootHaveTheirOwnSections) {
  RegistryClass machine = CurrentUserKey();
  machine.SetRootKeyName("HKEY_LOCAL_MACHINE");
  machine.SetData("V", "m");
  RegistryClass classes = CurrentUserKey();
  classes.SetRootKey(static_cast<int32_t>(0x80000000u));
  classes.SetData("V", "c");
  EXPECT_EQ(CurrentUserKey().GetData("V"), "");
  EXPECT_EQ(machine.GetData("V"), "m");
  EXPECT_EQ(classes.GetData("V"), "c");
#ifndef _WIN32
  EXPECT_NE(FileText().find("[HKEY_LOCAL_MACHINE\\Software\\Tarvanel\\Test]\n\"V\"=\"m\"\n"), std::string::npos);
  EXPECT_NE(FileText().find("[HKEY_CLASSES_ROOT\\Software\\Tarvanel\\Test]\n\"V\"=\"c\"\n"), std::string::npos);
#endif
}

}  // namespace
