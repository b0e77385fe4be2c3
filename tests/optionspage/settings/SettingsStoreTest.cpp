// The settings key: its defaults, what a save stores, and how the device list is read.
#include <gtest/gtest.h>

#include "library/constants/DeviceTypes.h"
#include "library/digest/Base64Class.h"
#include "optionspage/SettingsStore.h"
#include "tests/library/registry/TempRegistry.h"

namespace {

const std::string kSection =
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\Outlook\\Addins\\Reminder.ReminderDesigner\\Setting]\n";

class SettingsStore : public registry_test::TempRegistry {};

TEST_F(SettingsStore, DefaultsAreWrittenOnceInOrder) {
  falcrest::RegistryClass settings = orvane::OpenSettings();
  EXPECT_EQ(settings.RootKeyName(), "HKEY_CURRENT_USER");
  EXPECT_FALSE(settings.KeyExist());
  EXPECT_EQ(settings.GetData("WebServiceURL"), "");

  orvane::EnsureDefaults(settings);
  const std::string expected = "REGEDIT4\n\n" + kSection +
                               "\"UserID\"=\"\"\n"
                               "\"Password\"=\"\"\n"
                               "\"WebServiceURL\"=\"http://www.tarvanel.com/WebService/OutlookPlugin.asmx\"\n"
                               "\"Device\"=\"\"\n";
  EXPECT_EQ(FileText(), expected);
  EXPECT_EQ(settings.GetData("webserviceurl"), "http://www.tarvanel.com/WebService/OutlookPlugin.asmx");

  settings.SetData("UserID", "bob");
  const std::string after_edit = FileText();
  orvane::EnsureDefaults(orvane::OpenSettings());
  EXPECT_EQ(FileText(), after_edit);
}

TEST_F(SettingsStore, AnExistingKeyIsNotRepaired) {
  struct Row {
    const char* what;
    std::string file;
  };
  const Row rows[] = {
      {"values missing", "REGEDIT4\n\n" + kSection + "\"UserID\"=\"7\"\n"},
      {"no values", "REGEDIT4\n\n" + kSection},
      {"only a subkey",
       "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Office\\Outlook\\Addins\\"
       "Reminder.ReminderDesigner\\setting\\Below]\n\"X\"=\"1\"\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    WriteFileText(row.file);
    orvane::EnsureDefaults(orvane::OpenSettings());
    EXPECT_EQ(FileText(), row.file);
    EXPECT_EQ(orvane::OpenSettings().GetData("WebServiceURL"), "");
  }
}

TEST_F(SettingsStore, SaveStoresEachValueInItsForm) {
  using Chosen = std::array<bool, 10>;
  //                       HomeEmail WorkEmail HomePhone WorkPhone CellPhone SMS AIM MSN YAHOO Fax
  const Chosen none{};
  const Chosen three{true, false, false, false, true, false, false, false, false, true};
  const Chosen all{true, true, true, true, true, true, true, true, true, true};
  struct Row {
    const char* user;
    const char* password;
    Chosen chosen;
    const char* user_line;
    const char* password_line;
    const char* device_line;
  };
  const Row rows[] = {
      {"0042", "secret", three, "\"UserID\"=\"0042\"", "\"Password\"=\"c2VjcmV0\"",
       "\"Device\"=\"HomeEmail,CellPhone,Fax\""},
      {" 42 ", "", none, "\"UserID\"=dword:0000002a", "\"Password\"=\"\"", "\"Device\"=\"\""},
      {"  bob  ", "", all, "\"UserID\"=\"bob\"", "\"Password\"=\"\"",
       "\"Device\"=\"HomeEmail,WorkEmail,HomePhone,WorkPhone,CellPhone,SMS,AIM,MSN,YAHOO,Fax\""},
      {"4294967295", "secret", none, "\"UserID\"=\"4294967295\"", "\"Password\"=\"c2VjcmV0\"", "\"Device\"=\"\""},
  };
  WriteFileText("REGEDIT4\n\n" + kSection + "\"WebServiceURL\"=\"http://127.0.0.1:1/x\"\n");
  falcrest::RegistryClass settings = orvane::OpenSettings();
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("user \"") + row.user + "\"");
    orvane::SaveSettings(settings, row.user, row.password, falcrest::BuildDeviceList(row.chosen));
    EXPECT_EQ(LineOf("\"UserID\""), row.user_line);
    EXPECT_EQ(LineOf("\"Password\""), row.password_line);
    EXPECT_EQ(LineOf("\"Device\""), row.device_line);
    EXPECT_EQ(LineOf("\"WebServiceURL\""), "\"WebServiceURL\"=\"http://127.0.0.1:1/x\"");
  }
}

TEST_F(SettingsStore, SavedPasswordDecodesToWhatWasTyped) {
  falcrest::RegistryClass settings = orvane::OpenSettings();
  const std::string typed = "a longer pass phrase, long enough to need more than one line of Base64 text";
  orvane::SaveSettings(settings, "u", typed, "");
  std::string stored = settings.GetData("Password");
  std::string copy = typed;
  EXPECT_EQ(stored, falcrest::Base64Class().Encode64(copy));
  std::string decoded = falcrest::Base64Class().Decode64(stored);
  EXPECT_EQ(decoded.substr(0, typed.size()), typed);
  EXPECT_EQ(decoded.find_first_not_of('\0', typed.size()), std::string::npos);  // only padding after it
}

TEST(DeviceList, ReadersSplitAtEveryComma) {
  struct Row {
    const char* list;
    std::vector<std::string> pieces;
  };
  const Row rows[] = {
      {"", {}},
      {"HomeEmail,,Fax", {"HomeEmail", "", "Fax"}},
      {"homeemail", {"homeemail"}},
      {" HomeEmail", {" HomeEmail"}},
      {"HomeEmail,", {"HomeEmail", ""}},
      {",", {"", ""}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(falcrest::SplitDeviceList(row.list), row.pieces) << "list \"" << row.list << "\"";
}

}  // namespace
