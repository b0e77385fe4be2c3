#pragma once
// The add-ins of the client's list (HKCU\Software\Microsoft\Office\Outlook\Addins): each
// entry with LoadBehavior 3 is created by its ProgID and connected at start-up in the
// client's order (OnConnection mode 1, OnAddInsUpdate, OnStartupComplete); at the end
// OnBeginShutdown, then OnDisconnection mode 0. Every call is written to the call log.
#include <iosfwd>
#include <string>
#include <vector>

#include "host/win32/Extensibility.h"

namespace host::win32 {

class AddinHost {
 public:
  AddinHost() = default;
  ~AddinHost() { Disconnect(); }
  AddinHost(const AddinHost&) = delete;
  AddinHost& operator=(const AddinHost&) = delete;

  // Loads and connects; what could not be loaded is written to `warnings`.
  void Connect(IDispatch* application, std::ostream& warnings);
  void Disconnect();
  std::vector<std::string> ProgIds() const;

 private:
  struct Loaded {
    std::string progId;
    IDTExtensibility2* addin;
  };
  std::vector<Loaded> loaded_;
};

// The ProgIDs of the list whose LoadBehavior is 3, in the registry's order.
std::vector<std::wstring> StartupAddins();

}  // namespace host::win32
