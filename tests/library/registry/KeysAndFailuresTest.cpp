// Roots, keys, files that cannot be written and files that cannot be read whole.
#include <gtest/gtest.h>
#include <stdlib.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "library/registry/RegistryAPI.h"
#include "library/registry/RegistryClass.h"
#include "library/registry/RegistryStore.h"
#include "TempRegistry.h"

namespace {

using falcrest::RegistryClass;
using registry_test::TempRegistry;

constexpr int32_t kCurrentUser = static_cast<int32_t>(0x80000001u);
constexpr int32_t kLocalMachine = static_cast<int32_t>(0x80000002u);
constexpr int32_t kClassesRoot = static_cast<int32_t>(0x80000000u);

RegistryClass KeyAt(int32_t root, const std::string& path) {
  RegistryClass key;
  key.SetRootKey(root);
  key.SetKeyName(path);
  return key;
}

TEST(RegistryRoots, TheTwoKnownRootsKeepNameAndHandleTogether) {
  RegistryClass key;
  EXPECT_EQ(key.RootKey(), 0);
  EXPECT_EQ(key.RootKeyName(), "");

  key.SetRootKeyName("HKEY_CURRENT_USER");
  EXPECT_EQ(key.RootKey(), kCurrentUser);
  key.SetRootKeyName("HKEY_LOCAL_MACHINE");
  EXPECT_EQ(key.RootKey(), kLocalMachine);

  // Another spelling is kept as text and leaves the handle alone.
  key.SetRootKeyName("hkey_current_user");
  EXPECT_EQ(key.RootKeyName(), "hkey_current_user");
  EXPECT_EQ(key.RootKey(), kLocalMachine);

  key.SetRootKey(kCurrentUser);
  EXPECT_EQ(key.RootKeyName(), "HKEY_CURRENT_USER");
  key.SetRootKey(kLocalMachine);
  EXPECT_EQ(key.RootKeyName(), "HKEY_LOCAL_MACHINE");

  // Any other handle is used as it stands; the name keeps its text.
  key.SetRootKey(kClassesRoot);
  EXPECT_EQ(key.RootKey(), kClassesRoot);
  EXPECT_EQ(key.RootKeyName(), "HKEY_LOCAL_MACHINE");
}

class RegistryKeys : public TempRegistry {};

TEST_F(RegistryKeys, KeyExistCases) {
  KeyAt(kCurrentUser, "Software\\Tarvanel\\Reminder\\Setting").SetData("V", "1");
  struct Row {
    int32_t root;
    const char* path;
    bool exists;
  };
  const Row rows[] = {
      {kCurrentUser, "", true},  // the root itself opens
      {kLocalMachine, "", true},
      {kClassesRoot, "", true},
      {static_cast<int32_t>(0x80000003u), "", true},
      {0, "", false},
#ifdef _WIN32
      {0x12345, "", true},  // the system hands back the handle of an empty path unchecked
#else
      {0x12345, "", false},
#endif
      {0, "Software\\Tarvanel\\Reminder\\Setting", false},
      {kCurrentUser, "Software\\Tarvanel\\Reminder\\Setting", true},
      {kCurrentUser, "software\\TARVANEL\\reminder\\setting", true},
      {kCurrentUser, "Software\\Tarvanel\\Reminder", true},  // parents exist with their child
      {kCurrentUser, "Software", true},
      {kCurrentUser, "Software\\Tarvanel\\Reminder\\Setting\\Below", false},
      {kCurrentUser, "Software\\Tarvanel\\Remind", false},
      {kCurrentUser, "Software\\Other", false},
      {kLocalMachine, "Software\\Tarvanel\\Reminder\\Setting", false},
      // Doubled and trailing backslashes count for nothing; a leading one opens no key.
      {kCurrentUser, "Software\\\\Tarvanel\\Reminder\\Setting\\\\", true},
      {kCurrentUser, "\\Software\\Tarvanel", false},
      {kCurrentUser, "\\", false},
  };
  for (const Row& row : rows)
    EXPECT_EQ(KeyAt(row.root, row.path).KeyExist(), row.exists)
        << "root " << std::hex << row.root << " path \"" << row.path << "\"";
}

TEST_F(RegistryKeys, MissingFileReadsAsEmpty) {
  RegistryClass key = KeyAt(kCurrentUser, "Software\\Tarvanel");
  EXPECT_FALSE(key.KeyExist());
  EXPECT_EQ(key.GetData("UserID"), "");
#ifdef _WIN32
  EXPECT_FALSE(KeyAt(kCurrentUser, "Software").KeyExist());  // reading creates nothing
#else
  EXPECT_EQ(FileText(), "");  // reading creates nothing
#endif
}

TEST_F(RegistryKeys, SubKeysAndDeleteKey) {
  auto& store = falcrest::registry::DefaultStore();
  KeyAt(kCurrentUser, "Software\\Addins\\One\\Setting").SetData("V", "1");
  KeyAt(kCurrentUser, "SOFTWARE\\addins\\Two").SetData("V", "2");
  KeyAt(kCurrentUser, "Software\\Addins\\one\\More").SetData("V", "3");
  EXPECT_EQ(store.SubKeys(falcrest::registry::kCurrentUser, "software\\addins"),
            (std::vector<std::string>{"One", "Two"}));
  store.DeleteKey(falcrest::registry::kCurrentUser, "Software\\Addins\\ONE");
  EXPECT_FALSE(KeyAt(kCurrentUser, "Software\\Addins\\One").KeyExist());
  EXPECT_TRUE(KeyAt(kCurrentUser, "Software\\Addins\\Two").KeyExist());
  EXPECT_EQ(store.SubKeys(falcrest::registry::kCurrentUser, "Software\\Addins"), (std::vector<std::string>{"Two"}));
}

#ifndef _WIN32
// Runs SetData and gives the error it raised; fails the test when none was raised.
falcrest::Error WriteError(const RegistryClass& key) {
  try {
    key.SetData("V", "x");
  } catch (const falcrest::Error& e) {
    return e;
  }
  ADD_FAILURE() << "SetData raised no error";
  return falcrest::Error(0, "", "");
}

TEST_F(RegistryKeys, WritesThatCannotBeDoneRaise) {
  // Root ignores permission bits, so the folder is made impossible instead: a plain file
  // stands where it should be, or the registry file's place is taken by a folder.
  WriteFileText("not a folder");
  const std::string under_file = path_ + "/sub/registry.reg";
  const std::string folder_in_place = folder_ + "/taken.reg";
  ASSERT_EQ(::mkdir(folder_in_place.c_str(), 0700), 0);

  for (const std::string& target : {under_file, folder_in_place}) {
    SCOPED_TRACE(target);
    ::setenv("FALCREST_REGISTRY", target.c_str(), 1);
    falcrest::Error e = WriteError(KeyAt(kCurrentUser, "Software\\Tarvanel"));
    EXPECT_EQ(e.Number(), falcrest::error_number::kComponentBase + 0x300);
    EXPECT_EQ(e.Source(), "Falcrest.RegistryClass");
    EXPECT_NE(e.Description().find(target), std::string::npos) << e.Description();
    EXPECT_NE(e.Description().find("directory"), std::string::npos) << e.Description();
  }
  ::setenv("FALCREST_REGISTRY", path_.c_str(), 1);

  // A path that starts with a backslash names no key: a write says so and writes nothing.
  falcrest::Error lead = WriteError(KeyAt(kCurrentUser, "\\Software\\Tarvanel"));
  EXPECT_EQ(lead.Number(), falcrest::kRegistryErrorNumber);
  EXPECT_NE(lead.Description().find("must not start with a backslash"), std::string::npos) << lead.Description();

  // A key without a root: nothing opens, and a write says so.
  for (int32_t root : {0, 0x12345}) {
    falcrest::Error e = WriteError(KeyAt(root, "Software\\Tarvanel"));
    EXPECT_EQ(e.Number(), falcrest::kRegistryErrorNumber);
    EXPECT_NE(e.Description().find("not a registry root key"), std::string::npos) << e.Description();
  }
  EXPECT_EQ(FileText(), "not a folder");
}

TEST_F(RegistryKeys, BrokenFilesReadWhatTheyCan) {
  const std::string good = "[HKEY_CURRENT_USER\\T]\n\"Good\"=\"yes\"\n";
  struct Row {
    const char* what;
    std::string text;
    const char* bad_name;  // a value whose line is broken: reads as empty
  };
  const Row rows[] = {
      {"cut in a dword", "REGEDIT4\n\n" + good + "\"Bad\"=dword:0000", "Bad"},
      {"cut in a string", "REGEDIT4\n\n" + good + "\"Bad\"=\"ye", "Bad"},
      {"cut in a hex list", "REGEDIT4\n\n" + good + "\"Bad\"=hex(1):61,6", "Bad"},
      {"cut after a continuation", "REGEDIT4\n\n" + good + "\"Bad\"=hex(1):61,\\\n", "Bad"},
      {"cut in a name", "REGEDIT4\n\n" + good + "\"Ba", "Bad"},
      {"cut in a section", "REGEDIT4\n\n" + good + "[HKEY_CURRENT_USER\\T\\Sub", "Bad"},
      {"no header, CR LF lines", "[HKEY_CURRENT_USER\\T]\r\n\"Good\"=\"yes\"\r\n\"Bad\"=dword:xyz\r\n", "Bad"},
      {"junk lines", "REGEDIT4\n\n" + good + "junk\n=\n\"Bad\"\n\"Bad\"=\n\"Bad\"=-\n;\"Bad\"=\"1\"\n", "Bad"},
      {"bad hex type", "REGEDIT4\n\n" + good + "\"Bad\"=hex(zz):00\n\"Bad\"=hex(1:00\n\"Bad\"=hex(1)00\n", "Bad"},
      {"unknown root", "REGEDIT4\n\n" + good + "[HKEY_NOWHERE\\T]\n\"Bad\"=\"1\"\n[]\n\"Bad\"=\"1\"\n", "Bad"},
      {"deleted section", "REGEDIT4\n\n" + good + "[-HKEY_CURRENT_USER\\T]\n\"Bad\"=\"1\"\n", "Bad"},
      {"value before any key", "REGEDIT4\n\"Bad\"=\"1\"\n" + good, "Bad"},
      {"garbage bytes", std::string("\0\xff\xfe[\x01\"\"=\n\"", 9) + "\n" + good + std::string(300, '\xA7'), "Bad"},
      {"byte order mark", "\xEF\xBB\xBFREGEDIT4\n\n" + good, "Bad"},
  };
  RegistryClass key = KeyAt(kCurrentUser, "T");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    WriteFileText(row.text);
    EXPECT_EQ(key.GetData("Good"), "yes");
    EXPECT_EQ(key.GetData(row.bad_name), "");
    // A write keeps what could be read.
    key.SetData("Added", "1");
    EXPECT_EQ(key.GetData("Good"), "yes");
    EXPECT_EQ(key.GetData("Added"), "1");
  }
}
#endif

}  // namespace
