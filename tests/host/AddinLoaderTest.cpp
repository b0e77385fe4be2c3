// Add-ins loaded as the client does: the entries with LoadBehavior 3, by ProgID without
// regard to case; an unknown ProgID is a warning, not a failure.
#include <gtest/gtest.h>

#include <sstream>

#include "HostTestSupport.h"
#include "addin/Registration.h"
#include "host/client/Client.h"
#include "library/constants/SettingsKey.h"
#include "library/registry/RegistryClass.h"

namespace host {
namespace {

void Entry(const std::string& progId, const std::string& loadBehavior) {
  falcrest::RegistryClass entry;
  entry.SetRootKeyName(falcrest::kSettingsRootName);
  entry.SetKeyName(std::string(falcrest::kAddinsKey) + "\\" + progId);
  entry.SetData("LoadBehavior", loadBehavior);
}

TEST(AddinLoaderTest, LoadsTheEntriesMarkedForStartUp) {
  struct Row {
    const char* name;
    std::vector<std::pair<std::string, std::string>> entries;
    std::vector<std::string> loaded;
    std::string warning;
  };
  const Row rows[] = {
      {"none entered", {}, {}, ""},
      {"registered", {{"Reminder.ReminderDesigner", "3"}}, {"Reminder.ReminderDesigner"}, ""},
      {"other case", {{"reminder.reminderdesigner", "3"}}, {"reminder.reminderdesigner"}, ""},
      {"not at start-up", {{"Reminder.ReminderDesigner", "2"}}, {}, ""},
      {"unknown component", {{"Other.Addin", "3"}, {"Reminder.ReminderDesigner", "3"}}, {"Reminder.ReminderDesigner"},
       "warning: the add-in Other.Addin is entered for loading, but this client has no such component; skipped\n"},
  };
  for (const Row& row : rows) {
    test::TempFolder folder;
    for (const auto& [progId, behaviour] : row.entries) Entry(progId, behaviour);
    Client client(folder.Path("calendar.ics"));
    std::ostringstream warnings;
    client.LoadAddins(warnings);
    std::vector<std::string> loaded;
    for (const LoadedAddin& addin : client.Addins()) loaded.push_back(addin.progId);
    EXPECT_EQ(loaded, row.loaded) << row.name;
    EXPECT_EQ(warnings.str(), row.warning) << row.name;
    client.UnloadAddins();
    EXPECT_TRUE(client.Addins().empty()) << row.name;
  }
}

TEST(AddinLoaderTest, RegistrationEntersTheAddinAndUnregistrationRemovesIt) {
  test::TempFolder folder;
  reminder::RegisterAddin();
  {
    Client client(folder.Path("calendar.ics"));
    std::ostringstream warnings;
    client.LoadAddins(warnings);
    EXPECT_EQ(client.Addins().size(), 1u);
  }
  reminder::UnregisterAddin();
  Client client(folder.Path("calendar.ics"));
  std::ostringstream warnings;
  client.LoadAddins(warnings);
  EXPECT_TRUE(client.Addins().empty());
}

}  // namespace
}  // namespace host
