#include "host/addins/AddinLoader.h"

#include <ostream>

#include "addin/Components.h"
#include "host/text/Words.h"
#include "library/constants/SettingsKey.h"
#include "library/registry/RegistryClass.h"
#include "library/registry/RegistryStore.h"
#include "library/support/Error.h"

namespace host {

std::shared_ptr<outlook::IDTExtensibility2> CreateComponent(const std::string& progId) {
  if (EqualsNoCase(progId, reminder::kReminderDesignerProgId)) return reminder::CreateReminderDesigner();
  return nullptr;
}

std::vector<LoadedAddin> LoadAddins(const std::shared_ptr<outlook::Application>& app, std::ostream& warnings) {
  std::vector<LoadedAddin> loaded;
  auto& store = falcrest::registry::DefaultStore();
  for (const std::string& progId : store.SubKeys(falcrest::registry::kCurrentUser, falcrest::kAddinsKey)) {
    falcrest::RegistryClass entry;
    entry.SetRootKeyName(falcrest::kSettingsRootName);
    entry.SetKeyName(std::string(falcrest::kAddinsKey) + "\\" + progId);
    if (entry.GetData("LoadBehavior") != "3") continue;
    auto object = CreateComponent(progId);
    if (!object) {
      warnings << "warning: the add-in " << progId << " is entered for loading, but this client has no such component; skipped\n";
      continue;
    }
    try {
      object->OnConnection(app, kConnectStartup);
    } catch (const falcrest::Error& e) {
      warnings << "warning: the add-in " << progId << " failed to connect: " << e.Description() << "\n";
      continue;
    }
    loaded.push_back({progId, object});
  }
  return loaded;
}

void UnloadAddins(std::vector<LoadedAddin>& addins) {
  for (auto it = addins.rbegin(); it != addins.rend(); ++it) {
    try {
      it->object->OnBeginShutdown();
      it->object->OnDisconnection(kDisconnectShutdown);
    } catch (const falcrest::Error&) {
      // Shutting down goes on whatever one add-in does.
    }
  }
  addins.clear();
}

}  // namespace host
