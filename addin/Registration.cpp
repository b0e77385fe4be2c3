#include "addin/Registration.h"

#include <string>
#include <vector>

#include "library/constants/SettingsKey.h"
#include "library/registry/RegistryClass.h"
#include "library/registry/RegistryStore.h"

namespace reminder {

namespace {

falcrest::RegistryClass AddinEntry() {
  falcrest::RegistryClass entry;
  entry.SetRootKeyName(falcrest::kSettingsRootName);
  entry.SetKeyName(falcrest::kAddinKey);
  return entry;
}

}  // namespace

void RegisterAddin() {
  const falcrest::RegistryClass entry = AddinEntry();
  entry.SetData("FriendlyName", kAddinFriendlyName);
  entry.SetData("Description", kAddinDescription);
  // Canonical decimal texts are stored as 32-bit numbers.
  entry.SetData("LoadBehavior", std::to_string(kLoadAtStartup));
  entry.SetData("CommandLineSafe", "0");
}

// The store deletes whole keys only, so the settings are read first and written back once
// the add-in key is gone: the entry's values go, the user's settings stay.
void UnregisterAddin() {
  falcrest::registry::Store& store = falcrest::registry::DefaultStore();
  const uint32_t root = falcrest::registry::kCurrentUser;
  if (!store.KeyExists(root, falcrest::kAddinKey)) return;

  struct Kept {
    const char* name;
    falcrest::registry::Value value;
  };
  std::vector<Kept> kept;
  const bool hasSettings = store.KeyExists(root, falcrest::kSettingsKey);
  if (hasSettings) {
    for (const char* name : {falcrest::kUserIdValue, falcrest::kPasswordValue, falcrest::kWebServiceUrlValue,
                             falcrest::kDeviceValue}) {
      falcrest::registry::Value value;
      if (store.QueryValue(root, falcrest::kSettingsKey, name, value)) kept.push_back({name, value});
    }
  }
  store.DeleteKey(root, falcrest::kAddinKey);
  for (const Kept& k : kept) store.SetValue(root, falcrest::kSettingsKey, k.name, k.value);
}

}  // namespace reminder
