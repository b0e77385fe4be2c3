#include "library/cli/Connection.h"

#include <algorithm>
#include <stdexcept>

#include "library/constants/SettingsKey.h"
#include "library/constants/SystemConst.h"
#include "library/digest/Base64Class.h"
#include "library/digest/MD5HashClass.h"
#include "library/registry/RegistryClass.h"

namespace falcrest::cli {

const std::vector<std::string> kConnectionOptions = {"--url", "--user", "--password"};

const char* const kConnectionHelp =
    "Connection options (each one left out is taken from the add-in's stored settings):\n"
    "  --url URL          the service endpoint (setting \"WebServiceURL\")\n"
    "  --user ID          the member's user ID (setting \"UserID\")\n"
    "  --password PLAIN   the member's password; the service receives its MD5 digest\n"
    "                     (setting \"Password\", stored in Base64)\n";

OptionList::OptionList(const Args& args, const std::vector<std::string>& known, const std::string& command) {
  bool options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      positional_.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    size_t equals = arg.find('=');
    std::string name = arg.substr(0, equals);
    if (std::find(known.begin(), known.end(), name) == known.end())
      throw std::invalid_argument("unknown option " + name + " (falcrest " + command + " --help lists them)");
    if (equals != std::string::npos) {
      options_.emplace_back(name, arg.substr(equals + 1));
      continue;
    }
    if (i + 1 >= args.size())
      throw std::invalid_argument("the option " + name + " needs a value (falcrest " + command + " --help)");
    options_.emplace_back(name, args[++i]);
  }
}

bool OptionList::Has(const std::string& name) const {
  return std::any_of(options_.begin(), options_.end(), [&](const auto& o) { return o.first == name; });
}

std::string OptionList::Get(const std::string& name, const std::string& fallback) const {
  for (auto it = options_.rbegin(); it != options_.rend(); ++it)
    if (it->first == name) return it->second;
  return fallback;
}

std::vector<std::string> OptionList::All(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& o : options_)
    if (o.first == name) values.push_back(o.second);
  return values;
}

Connection ResolveConnection(const OptionList& options) {
  RegistryClass settings;
  settings.SetRootKeyName(kSettingsRootName);
  settings.SetKeyName(kSettingsKey);

  Connection connection;
  connection.url = options.Has("--url") ? options.Get("--url") : settings.GetData(kWebServiceUrlValue);
  connection.license.UserId = options.Has("--user") ? options.Get("--user") : settings.GetData(kUserIdValue);

  // An empty password is sent empty, not as the digest of nothing, as the add-in does.
  if (options.Has("--password")) {
    const std::string plain = options.Get("--password");
    if (!plain.empty()) connection.license.Password = MD5HashClass().ComputeHash(plain);
  } else {
    std::string stored = settings.GetData(kPasswordValue);
    if (!stored.empty()) connection.license.Password = MD5HashClass().ComputeHash(Base64Class().Decode64(stored));
  }

  SystemConst client;
  connection.license.ClientName = client.Name();
  connection.license.ClientProgramName = client.ProgramName();
  return connection;
}

}  // namespace falcrest::cli
