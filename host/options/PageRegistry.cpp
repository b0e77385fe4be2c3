// The page controls the host can create, by ProgID.
#include <algorithm>
#include <cctype>
#include <map>

#include "host/options/PageControl.h"
#include "library/support/Error.h"

namespace host {
namespace {

std::string Folded(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::map<std::string, PageFactory>& Factories() {
  static std::map<std::string, PageFactory> factories;
  return factories;
}

}  // namespace

void RegisterPage(const std::string& progId, PageFactory factory) { Factories()[Folded(progId)] = std::move(factory); }

std::unique_ptr<PageControl> CreatePage(const std::string& progId) {
  auto found = Factories().find(Folded(progId));
  if (found == Factories().end()) {
    // REGDB_E_CLASSNOTREG: what the client gets for a ProgID nobody registered.
    throw falcrest::Error(0x80040154, "reminder-host",
                          "The control " + progId + " is not registered with this client");
  }
  return found->second();
}

}  // namespace host
