#pragma once
// What every service subcommand shares: its option list, and the connection (endpoint and
// credentials) taken from the options or, where one is absent, from the stored settings.
#include <string>
#include <vector>

#include "library/cli/Commands.h"
#include "library/records/LicenseType.h"

namespace falcrest::cli {

// "--name VALUE" or "--name=VALUE" pairs and positional arguments; "--" ends the options.
class OptionList {
 public:
  // Raises std::invalid_argument for an option not in `known` or one without its value;
  // `command` names the subcommand in that message.
  OptionList(const Args& args, const std::vector<std::string>& known, const std::string& command);

  bool Has(const std::string& name) const;
  // The last value given for the option, or `fallback` when it was not given.
  std::string Get(const std::string& name, const std::string& fallback = "") const;
  // Every value given for the option, in order.
  std::vector<std::string> All(const std::string& name) const;
  const std::vector<std::string>& Positional() const { return positional_; }

 private:
  std::vector<std::pair<std::string, std::string>> options_;
  std::vector<std::string> positional_;
};

// The options every service subcommand takes, and their help text.
extern const std::vector<std::string> kConnectionOptions;
extern const char* const kConnectionHelp;

struct Connection {
  std::string url;
  LicenseType license;  // user ID, MD5 digest of the password, client and program name
};

// --url, --user and --password, each absent one from the stored settings of the add-in.
// The password is sent as its digest, as the add-in does; an empty one as the empty text.
Connection ResolveConnection(const OptionList& options);

}  // namespace falcrest::cli
