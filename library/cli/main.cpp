// falcrest: a command-line front end to the reminder service library, for people who
// support the service and for scripts.
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>

#include "library/cli/Commands.h"
#include "library/support/Error.h"

namespace {

struct Command {
  const char* name;
  const char* summary;
  int (*run)(const falcrest::cli::Args&);
};

const Command kCommands[] = {
    {"device", "print the member's device of a type", falcrest::cli::RunDevice},
    {"ids", "print the first remote event id of an event (or -1)", falcrest::cli::RunIds},
    {"create", "create a reminder", falcrest::cli::RunCreate},
    {"modify", "replace the reminder of a remote event", falcrest::cli::RunModify},
    {"delete", "delete a remote event and its reminders", falcrest::cli::RunDelete},
    {"md5", "print the upper-case MD5 digest of a text", falcrest::cli::RunMd5},
    {"base64-encode", "print the Base64 form of a text", falcrest::cli::RunBase64Encode},
    {"base64-decode", "print the text of a Base64 form", falcrest::cli::RunBase64Decode},
    {"registry", "read or write a registry value (exists|get|set)", falcrest::cli::RunRegistry},
    {"settings", "show the stored settings of the add-in", falcrest::cli::RunSettings},
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "usage: falcrest COMMAND [ARGS...]\n"
               "       falcrest COMMAND --help\n\n"
               "Commands:\n");
  for (const Command& c : kCommands) std::fprintf(out, "  %-14s %s\n", c.name, c.summary);
  std::fprintf(out,
               "\nExit status: 0 done, 1 refused by the service or nothing found, 2 error.\n");
}

}  // namespace

namespace falcrest::cli {

bool WantsHelp(const Args& args) {
  for (const std::string& a : args)
    if (a == "--help" || a == "-h") return true;
  return false;
}

}  // namespace falcrest::cli

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    PrintUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) != 0) continue;
    try {
      return c.run(falcrest::cli::Args(argv + 2, argv + argc));
    } catch (const falcrest::Error& e) {
      std::cerr << "falcrest: " << e.Description() << "\n";
      return 2;
    } catch (const std::exception& e) {
      std::cerr << "falcrest: " << e.what() << "\n";
      return 2;
    }
  }
  std::fprintf(stderr, "falcrest: unknown command \"%s\"\n\n", argv[1]);
  PrintUsage(stderr);
  return 2;
}
