// The password helpers of the falcrest program (md5, base64-encode, base64-decode), run as a
// user would: what each prints, and its exit status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CodePageEnv.h"
#include "support/ServiceProcess.h"

namespace falcrest::test {
namespace {

struct Row {
  const char* page;               // FALCREST_ANSI_CODEPAGE
  std::vector<std::string> args;
  int exit;
  std::string out;                // whole standard output
  std::string err;                // start of standard error; empty: nothing there
};

std::string Describe(const Row& row) {
  std::string text = "falcrest";
  for (const std::string& a : row.args) text += " \"" + a + "\"";
  return text + " (code page " + row.page + ")";
}

TEST(DigestCommands, PrintTheirResultOrExplainTheError) {
  std::string fullLine;  // 54 bytes "xxx...": 18 groups "eHh4", a full line ending in CR LF
  for (int i = 0; i < 18; ++i) fullLine += "eHh4";
  fullLine += "\r\n";
  const std::string kOneText = "falcrest: exactly one TEXT is needed (\"--\" before it lets it start with \"-\")\n";
  const Row rows[] = {
      {"1252", {"md5", "abc"}, 0, "900150983CD24FB0D6963F7D28E17F72\n", ""},
      {"1252", {"md5", ""}, 0, "D41D8CD98F00B204E9800998ECF8427E\n", ""},
      {"1252", {"md5", "--", "--help"}, 0, "0C113CA6D57519B559BA5A426BE3C6B6\n", ""},
      {"1252", {"md5"}, 2, "", kOneText + "usage: falcrest md5 [--] TEXT\n"},
      {"1252", {"md5", "a", "b"}, 2, "", kOneText + "usage: falcrest md5 [--] TEXT\n"},
      {"1252", {"base64-encode", "a"}, 0, "YQ==\n", ""},
      {"1252", {"base64-encode", "caf\xC3\xA9"}, 0, "Y2Fm6Q==\n", ""},
      {"1252", {"base64-encode", ""}, 0, "\n", ""},
      {"1252", {"base64-encode", std::string(54, 'x')}, 0, fullLine + "\n", ""},
      {"1252", {"base64-decode", "Y\r\nQ=="}, 0, "a\n", ""},
      {"1252", {"base64-decode", "Y2Fm6Q=="}, 0, "caf\xC3\xA9\n", ""},
      {"1252", {"base64-decode", ""}, 0, "\n", ""},
      {"1252", {"base64-decode", "YWJjZ"}, 2, "", "falcrest: Input string is not valid Base64.\n"},
      {"1252", {"base64-decode", "a", "b"}, 2, "", kOneText + "usage: falcrest base64-decode [--] TEXT\n"},
      // One double-byte character and two NULs make four bytes: no whole groups of three.
      {"932", {"base64-encode", "\xE6\x97\xA5"}, 2, "", "falcrest: Subscript out of range: "},
      {"932", {"base64-decode", "\xEF\xBC\xA1" "BCD"}, 2, "", "falcrest: Subscript out of range: "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Describe(row));
    ScopedCodePage page(row.page);
    ProgramResult r = RunProgram(BuildProgram("library/falcrest"), row.args);
    EXPECT_EQ(r.exitCode, row.exit);
    EXPECT_EQ(r.out, row.out);
    if (row.err.empty()) EXPECT_EQ(r.err, "");
    else EXPECT_EQ(r.err.rfind(row.err, 0), 0u) << r.err;
  }
}

TEST(DigestCommands, HelpGoesToStandardOutput) {
  for (const char* command : {"md5", "base64-encode", "base64-decode"}) {
    for (const char* flag : {"--help", "-h"}) {
      ProgramResult r = RunProgram(BuildProgram("library/falcrest"), {command, flag});
      EXPECT_EQ(r.exitCode, 0) << command << " " << flag;
      EXPECT_EQ(r.out.rfind(std::string("usage: falcrest ") + command + " [--] TEXT\n", 0), 0u) << r.out;
      EXPECT_NE(r.out.find("Exit status: 0 done, 2 error."), std::string::npos) << r.out;
      EXPECT_EQ(r.err, "") << command << " " << flag;
    }
  }
}

}  // namespace
}  // namespace falcrest::test
