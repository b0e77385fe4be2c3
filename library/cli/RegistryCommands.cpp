// falcrest registry ... and falcrest settings: the stored values, as the add-in and the
// options page see them.
#include <cstdio>
#include <iostream>
#include <string>

#include "library/cli/Commands.h"
#include "library/constants/DeviceTypes.h"
#include "library/constants/SettingsKey.h"
#include "library/digest/Base64Class.h"
#include "library/registry/RegistryClass.h"
#include "library/support/Error.h"

namespace falcrest::cli {

namespace {

const char kRegistryUsage[] =
    "usage: falcrest registry exists ROOT KEY\n"
    "       falcrest registry get ROOT KEY NAME\n"
    "       falcrest registry set ROOT KEY NAME DATA\n\n"
    "ROOT is HKEY_CURRENT_USER (HKCU) or HKEY_LOCAL_MACHINE (HKLM); KEY is the path below it,\n"
    "separated by backslashes. NAME \"\" is the key's default value.\n\n"
    "  exists  exit status 0 when the key exists, 1 when it does not\n"
    "  get     print the value as text (the empty text when it is missing)\n"
    "  set     store DATA: a number in plain decimal form (42, -1) as a REG_DWORD,\n"
    "          anything else as a string, blanks around it removed\n";

const char kSettingsUsage[] =
    "usage: falcrest settings [--show-password]\n\n"
    "Shows the add-in's stored settings: user ID, password (masked unless --show-password),\n"
    "service address and default devices. Exit status 1 when the settings do not exist yet\n"
    "(the options page creates them when it is first opened).\n";

// The root's full name, or the empty text for a name that is none of the two.
std::string RootName(const std::string& text) {
  std::string upper;
  for (char c : text) upper += static_cast<char>((c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c);
  if (upper == "HKEY_CURRENT_USER" || upper == "HKCU") return "HKEY_CURRENT_USER";
  if (upper == "HKEY_LOCAL_MACHINE" || upper == "HKLM") return "HKEY_LOCAL_MACHINE";
  return std::string();
}

int Usage(const char* text, const std::string& complaint) {
  std::cerr << "falcrest: " << complaint << "\n\n" << text;
  return 2;
}

// The device list and what it selects: the known names it holds, in table order.
std::string DescribeDevices(const std::string& list) {
  if (list.empty()) return "(none)";
  std::string chosen, ignored;
  const std::vector<std::string> pieces = SplitDeviceList(list);
  for (const char* name : kDeviceTypeNames) {
    for (const std::string& piece : pieces) {
      if (piece != name) continue;
      chosen += (chosen.empty() ? "" : ", ") + std::string(name);
      break;
    }
  }
  for (const std::string& piece : pieces) {
    bool known = false;
    for (const char* name : kDeviceTypeNames) known = known || piece == name;
    if (!known && !piece.empty()) ignored += (ignored.empty() ? "\"" : ", \"") + piece + "\"";
  }
  std::string text = list + "  (selects: " + (chosen.empty() ? "none" : chosen) + ")";
  if (!ignored.empty()) text += "\n                 ignored, not a device type: " + ignored;
  return text;
}

std::string OrEmpty(const std::string& text) { return text.empty() ? "(empty)" : text; }

std::string DescribePassword(const std::string& stored, bool show) {
  if (stored.empty()) return "(empty)";
  if (!show) return "******** (stored in Base64; --show-password shows it)";
  std::string encoded = stored;
  try {
    return Base64Class().Decode64(encoded);
  } catch (const Error& e) {
    return "(the stored value cannot be decoded: " + e.Description() + ")";
  }
}

}  // namespace

int RunRegistry(const Args& args) {
  if (WantsHelp(args)) {
    std::cout << kRegistryUsage;
    return 0;
  }
  if (args.empty()) return Usage(kRegistryUsage, "registry needs exists, get or set");
  const std::string& action = args[0];
  size_t wanted = action == "exists" ? 3 : action == "get" ? 4 : action == "set" ? 5 : 0;
  if (wanted == 0) return Usage(kRegistryUsage, "unknown registry action \"" + action + "\"");
  if (args.size() != wanted) return Usage(kRegistryUsage, "wrong number of arguments for registry " + action);
  std::string root = RootName(args[1]);
  if (root.empty()) return Usage(kRegistryUsage, "unknown root key \"" + args[1] + "\"");

  RegistryClass key;
  key.SetRootKeyName(root);
  key.SetKeyName(args[2]);
  if (action == "exists") {
    bool exists = key.KeyExist();
    std::cout << (exists ? "exists" : "does not exist") << "\n";
    return exists ? 0 : 1;
  }
  if (action == "get") {
    std::cout << key.GetData(args[3]) << "\n";
    return 0;
  }
  key.SetData(args[3], args[4]);
  return 0;
}

int RunSettings(const Args& args) {
  if (WantsHelp(args)) {
    std::cout << kSettingsUsage;
    return 0;
  }
  bool show = false;
  for (const std::string& a : args) {
    if (a != "--show-password") return Usage(kSettingsUsage, "unknown argument \"" + a + "\"");
    show = true;
  }
  RegistryClass settings;
  settings.SetRootKeyName(kSettingsRootName);
  settings.SetKeyName(kSettingsKey);
  const std::string where = std::string(kSettingsRootName) + "\\" + kSettingsKey;
  if (!settings.KeyExist()) {
    std::cout << "The settings key " << where
              << " does not exist: the options page creates it when it is first opened.\n";
    return 1;
  }
  std::cout << "Settings at " << where << "\n"
            << "  UserID         " << OrEmpty(settings.GetData(kUserIdValue)) << "\n"
            << "  Password       " << DescribePassword(settings.GetData(kPasswordValue), show) << "\n"
            << "  WebServiceURL  " << OrEmpty(settings.GetData(kWebServiceUrlValue)) << "\n"
            << "  Device         " << DescribeDevices(settings.GetData(kDeviceValue)) << "\n";
  return 0;
}

}  // namespace falcrest::cli
