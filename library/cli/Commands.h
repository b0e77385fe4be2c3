#pragma once
// The subcommands of the falcrest command. Each takes the arguments after its name and
// returns the exit status: 0 done, 1 refused by the service (or nothing found), 2 error.
#include <string>
#include <vector>

namespace falcrest::cli {

using Args = std::vector<std::string>;

// Service subcommands (connection options --url, --user, --password; else the settings).
int RunDevice(const Args& args);
int RunIds(const Args& args);
int RunCreate(const Args& args);
int RunModify(const Args& args);
int RunDelete(const Args& args);

// Password helpers.
int RunMd5(const Args& args);
int RunBase64Encode(const Args& args);
int RunBase64Decode(const Args& args);

// Registry and stored settings.
int RunRegistry(const Args& args);
int RunSettings(const Args& args);

// True when the arguments ask for help ("--help" or "-h" anywhere).
bool WantsHelp(const Args& args);

}  // namespace falcrest::cli
