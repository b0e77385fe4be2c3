#pragma once
// Loading add-ins as the client does: at start, every subkey of HKEY_CURRENT_USER
// Software\Microsoft\Office\Outlook\Addins whose LoadBehavior is 3 names a component by
// ProgID; the host creates it and connects it (OnConnection with ConnectMode 1, start-up).
// At exit each gets OnBeginShutdown, then OnDisconnection(0, host shut-down).
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "addin/objectmodel/Outlook.h"

namespace host {

inline constexpr int kConnectStartup = 1;     // ext_cm_Startup
inline constexpr int kDisconnectShutdown = 0;  // ext_dm_HostShutdown

// A new object of a component this host knows (ProgIDs compare without regard to case),
// or nullptr for any other ProgID.
std::shared_ptr<outlook::IDTExtensibility2> CreateComponent(const std::string& progId);

struct LoadedAddin {
  std::string progId;
  std::shared_ptr<outlook::IDTExtensibility2> object;
};

// Creates and connects the add-ins entered for load at start-up. An unknown ProgID or a
// failing connection gives one warning line on `warnings` and is skipped.
std::vector<LoadedAddin> LoadAddins(const std::shared_ptr<outlook::Application>& app, std::ostream& warnings);
// Shuts the add-ins down and disconnects them, in the reverse order of loading.
void UnloadAddins(std::vector<LoadedAddin>& addins);

}  // namespace host
