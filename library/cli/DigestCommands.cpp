// The password helpers: md5, base64-encode, base64-decode. Each takes one text and prints
// its result exactly as the library returns it, followed by one "\n".
#include <cstdio>
#include <string>

#include "library/cli/Commands.h"
#include "library/digest/Base64Class.h"
#include "library/digest/MD5HashClass.h"
#include "library/support/Error.h"

namespace falcrest::cli {
namespace {

constexpr const char* kCodePageNote =
    "The text is taken as UTF-8 and converted to the ANSI code page FALCREST_ANSI_CODEPAGE\n"
    "(a Windows code page number: 932, 936, 949, 950, 1250 to 1258 or 65001; default 1252);\n"
    "characters the page cannot represent count as \"?\".\n";

// The one TEXT argument ("--" before it lets it start with "-"), or nullptr after printing
// help or a usage error; `status` then holds the exit status.
const std::string* TextArgument(const Args& args, const char* usage, const char* about,
                                int& status) {
  if (args.size() == 2 && args[0] == "--") return &args[1];
  if (WantsHelp(args)) {
    std::printf("usage: %s\n\n%s\n%s\nExit status: 0 done, 2 error.\n", usage, about,
                kCodePageNote);
    status = 0;
    return nullptr;
  }
  if (args.size() == 1 && args[0] != "--") return &args[0];
  std::fprintf(stderr,
               "falcrest: exactly one TEXT is needed (\"--\" before it lets it start with \"-\")\n"
               "usage: %s\n(--help gives details)\n",
               usage);
  status = 2;
  return nullptr;
}

// Error 9 says little on a command line: say which text could not be grouped.
int ExplainGroupError(const Error& e, const char* groups) {
  if (e.Number() != error_number::kSubscriptOutOfRange) throw;
  std::fprintf(stderr,
               "falcrest: %s: the text's bytes in the ANSI code page are not whole groups of %s "
               "(a character that takes two bytes in this code page splits the last group)\n",
               e.Description().c_str(), groups);
  return 2;
}

void PrintResult(const std::string& result) {
  std::fwrite(result.data(), 1, result.size(), stdout);  // may hold NUL, CR and LF
  std::fputc('\n', stdout);
}

// base64-encode and base64-decode. The empty text prints as an empty line, as the settings
// page stores an empty password, rather than as the library's error 9.
int RunBase64(const Args& args, const char* usage, const char* about,
              std::string (Base64Class::*operation)(std::string&) const, const char* groups) {
  int status = 0;
  const std::string* text = TextArgument(args, usage, about, status);
  if (text == nullptr) return status;
  if (text->empty()) {
    PrintResult(std::string());
    return 0;
  }
  std::string argument = *text;
  try {
    PrintResult((Base64Class().*operation)(argument));
  } catch (const Error& e) {
    return ExplainGroupError(e, groups);
  }
  return 0;
}

}  // namespace

int RunMd5(const Args& args) {
  int status = 0;
  const std::string* text = TextArgument(
      args, "falcrest md5 [--] TEXT",
      "Prints the MD5 digest of TEXT's ANSI bytes as 32 upper-case hexadecimal digits and\n"
      "one newline; this is what the add-in sends to the service in place of a password.\n",
      status);
  if (text == nullptr) return status;
  PrintResult(MD5HashClass().ComputeHash(*text));
  return 0;
}

int RunBase64Encode(const Args& args) {
  return RunBase64(args, "falcrest base64-encode [--] TEXT",
                   "Prints the Base64 form of TEXT's ANSI bytes, as the settings store keeps a password:\n"
                   "a CR LF after every 72nd character (also at the very end when the form fills its last\n"
                   "line), then one newline. The empty text prints as an empty line, as the settings page\n"
                   "stores an empty password.\n",
                   &Base64Class::Encode64, "three");
}

int RunBase64Decode(const Args& args) {
  return RunBase64(args, "falcrest base64-decode [--] TEXT",
                   "Prints the text whose Base64 form is TEXT (CR and LF in it are ignored), converted from\n"
                   "the ANSI code page, exactly as decoded (any NUL, CR or LF included), then one newline.\n"
                   "The empty text prints as an empty line.\n",
                   &Base64Class::Decode64, "four");
}

}  // namespace falcrest::cli
