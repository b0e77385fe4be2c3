// The client's add-in entry, written and removed.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "addin/Registration.h"
#include "library/constants/SettingsKey.h"
#include "library/registry/RegistryStore.h"

namespace addin_test {
namespace {

namespace reg = falcrest::registry;

class Registration : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "addin-reg-XXXXXX").string();
    ASSERT_NE(::mkdtemp(&pattern[0]), nullptr);
    folder_ = pattern;
    ::setenv("FALCREST_REGISTRY", (folder_ + "/registry.reg").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("FALCREST_REGISTRY");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  static bool Query(const char* key, const char* name, reg::Value& value) {
    return reg::DefaultStore().QueryValue(reg::kCurrentUser, key, name, value);
  }

  std::string folder_;
};

reg::Value Sz(const std::string& text) { return {reg::kSz, text + std::string(1, '\0')}; }
reg::Value Dword(uint32_t n) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
  return {reg::kDword, bytes};
}

TEST_F(Registration, WritesTheFourEntryValues) {
  reminder::RegisterAddin();
  struct Row {
    const char* name;
    reg::Value expected;
  };
  const Row rows[] = {
      {"FriendlyName", Sz("Reminder")},
      {"Description", Sz("Tarvanel Inc. Reminding Service Outlook Add-In.")},
      {"LoadBehavior", Dword(3)},
      {"CommandLineSafe", Dword(0)},
  };
  for (const Row& row : rows) {
    reg::Value value;
    ASSERT_TRUE(Query(falcrest::kAddinKey, row.name, value)) << row.name;
    EXPECT_EQ(value.type, row.expected.type) << row.name;
    EXPECT_EQ(value.data, row.expected.data) << row.name;
  }
  // The ProgID in another letter case names the same key.
  reg::Value value;
  EXPECT_TRUE(Query("software\\microsoft\\office\\outlook\\addins\\reminder.reminderdesigner", "LoadBehavior", value));
}

TEST_F(Registration, UnregisteringKeepsTheUsersSettings) {
  reminder::RegisterAddin();
  reg::DefaultStore().SetValue(reg::kCurrentUser, falcrest::kSettingsKey, "UserID", Dword(42));
  reg::DefaultStore().SetValue(reg::kCurrentUser, falcrest::kSettingsKey, "Password", Sz("ZGVtbw=="));
  reminder::UnregisterAddin();

  reg::Value value;
  for (const char* name : {"FriendlyName", "Description", "LoadBehavior", "CommandLineSafe"})
    EXPECT_FALSE(Query(falcrest::kAddinKey, name, value)) << name;
  ASSERT_TRUE(Query(falcrest::kSettingsKey, "UserID", value));
  EXPECT_EQ(value.data, Dword(42).data);
  ASSERT_TRUE(Query(falcrest::kSettingsKey, "Password", value));
  EXPECT_EQ(value.data, Sz("ZGVtbw==").data);
  EXPECT_FALSE(Query(falcrest::kSettingsKey, "Device", value));

  // Registering again brings the add-in back over the kept settings.
  reminder::RegisterAddin();
  EXPECT_TRUE(Query(falcrest::kAddinKey, "LoadBehavior", value));
  EXPECT_TRUE(Query(falcrest::kSettingsKey, "UserID", value));
}

TEST_F(Registration, UnregisteringWithoutSettingsRemovesTheKey) {
  reminder::RegisterAddin();
  reminder::UnregisterAddin();
  EXPECT_FALSE(reg::DefaultStore().KeyExists(reg::kCurrentUser, falcrest::kAddinKey));
  reminder::UnregisterAddin();  // nothing there: nothing happens
  EXPECT_FALSE(reg::DefaultStore().KeyExists(reg::kCurrentUser, falcrest::kAddinKey));
}

}  // namespace
}  // namespace addin_test
