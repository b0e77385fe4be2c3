// The registry and settings subcommands of the falcrest program, run as a user would.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <cstdlib>
#include <vector>

#include "TempRegistry.h"

namespace {

struct Outcome {
  int status;
  std::string output;  // standard output and error together
};

std::string ShellQuoted(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

Outcome Falcrest(const std::vector<std::string>& args) {
  const char* bin = std::getenv("TEST_BIN_DIR");
  std::string command = ShellQuoted(std::string(bin ? bin : ".") + "/library/falcrest");
  for (const std::string& a : args) command += " " + ShellQuoted(a);
  Outcome outcome{-1, ""};
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return outcome;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) outcome.output.append(buffer, n);
  int status = ::pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

class FalcrestCommand : public registry_test::TempRegistry {};

TEST_F(FalcrestCommand, RegistrySetGetExists) {
  struct Row {
    std::vector<std::string> args;
    int status;
    const char* output;  // expected whole output, or nullptr to skip the check
  };
  const Row rows[] = {
      {{"registry", "set", "HKCU", "Software\\T", "UserID", " 0042 "}, 0, ""},
      {{"registry", "set", "HKEY_CURRENT_USER", "Software\\T", "Count", " 42 "}, 0, ""},
      {{"registry", "get", "hkcu", "software\\t", "userid"}, 0, "0042\n"},
      {{"registry", "get", "HKCU", "Software\\T", "Count"}, 0, "42\n"},
      {{"registry", "get", "HKCU", "Software\\T", "Missing"}, 0, "\n"},
      {{"registry", "exists", "HKEY_CURRENT_USER", "Software"}, 0, "exists\n"},
      {{"registry", "exists", "HKLM", "Software\\T"}, 1, "does not exist\n"},
      {{"registry", "exists", "HKEY_CLASSES_ROOT", "Software"}, 2, nullptr},
      {{"registry", "get", "HKCU", "Software\\T"}, 2, nullptr},
      {{"registry", "remove", "HKCU", "Software\\T"}, 2, nullptr},
      {{"registry"}, 2, nullptr},
      {{"registry", "--help"}, 0, nullptr},
  };
  for (const Row& row : rows) {
    std::string line;
    for (const std::string& a : row.args) line += a + " ";
    SCOPED_TRACE(line);
    Outcome outcome = Falcrest(row.args);
    EXPECT_EQ(outcome.status, row.status) << outcome.output;
    if (row.output) {
      EXPECT_EQ(outcome.output, row.output);
    }
  }
  EXPECT_EQ(LineOf("\"UserID\""), "\"UserID\"=\"0042\"");
  EXPECT_EQ(LineOf("\"Count\""), "\"Count\"=dword:0000002a");
}

TEST_F(FalcrestCommand, SettingsShowsTheStoredValues) {
  Outcome absent = Falcrest({"settings"});
  EXPECT_EQ(absent.status, 1);
  EXPECT_NE(absent.output.find("does not exist"), std::string::npos) << absent.output;

  WriteFileText(
      "REGEDIT4\n\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\Outlook\\Addins\\Reminder.ReminderDesigner\\Setting]\n"
      "\"UserID\"=\"0042\"\n"
      "\"Password\"=\"c2VjcmV0\"\n"
      "\"WebServiceURL\"=\"http://127.0.0.1:8080/WebService/OutlookPlugin.asmx\"\n"
      "\"Device\"=\"Fax,,homeemail,HomeEmail\"\n");
  Outcome masked = Falcrest({"settings"});
  EXPECT_EQ(masked.status, 0);
  EXPECT_NE(masked.output.find("UserID         0042\n"), std::string::npos) << masked.output;
  EXPECT_NE(masked.output.find("Password       ********"), std::string::npos) << masked.output;
  EXPECT_EQ(masked.output.find("secret"), std::string::npos) << masked.output;
  EXPECT_NE(masked.output.find("WebServiceURL  http://127.0.0.1:8080/WebService/OutlookPlugin.asmx\n"),
            std::string::npos);
  EXPECT_NE(masked.output.find("Fax,,homeemail,HomeEmail  (selects: HomeEmail, Fax)"), std::string::npos)
      << masked.output;
  EXPECT_NE(masked.output.find("\"homeemail\""), std::string::npos) << masked.output;

  Outcome shown = Falcrest({"settings", "--show-password"});
  EXPECT_EQ(shown.status, 0);
  EXPECT_NE(shown.output.find("Password       secret\n"), std::string::npos) << shown.output;

  EXPECT_EQ(Falcrest({"settings", "--help"}).status, 0);
  EXPECT_EQ(Falcrest({"settings", "--bogus"}).status, 2);
}

}  // namespace
