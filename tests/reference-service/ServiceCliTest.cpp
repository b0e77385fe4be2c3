// The falcrest command against the real service: the same cycle from a shell's point of view,
// with its exit codes (0 done, 1 refused or nothing found, 2 error).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ServiceProcess.h"

namespace falcrest::test {
namespace {

class ServiceCliTest : public testing::Test {
 protected:
  // Runs "falcrest COMMAND ARGS... --url .. --user .. --password ..".
  ProgramResult Falcrest(const std::string& command, std::vector<std::string> args,
                         const std::string& password = "demo") {
    args.insert(args.begin(), command);
    for (const std::string& a : {std::string("--url"), service.EndpointUrl(), std::string("--user"),
                                 std::string("demo"), std::string("--password"), password})
      args.push_back(a);
    return RunProgram(BuildProgram("library/falcrest"), args);
  }

  ServiceProcess service;
};

std::string Describe(const ProgramResult& r) { return "exit " + std::to_string(r.exitCode) + "\nout: " + r.out + "\nerr: " + r.err; }

TEST_F(ServiceCliTest, CycleThroughTheCommand) {
  const std::string start = "5/1/2024 10:00:00 AM";
  const std::string remind = "5/1/2024 9:45:00 AM";

  ProgramResult r = Falcrest("device", {"HomeEmail"});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_NE(r.out.find("demo@example.com"), std::string::npos) << Describe(r);
  r = Falcrest("device", {"Fax"});
  EXPECT_EQ(r.exitCode, 1) << Describe(r);

  r = Falcrest("create", {"--start", start, "--remind", remind, "--subject", "Fish & Chips", "--device", "HomeEmail=a@b"});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_NE(r.out.find("/Reminder.aspx?id="), std::string::npos) << Describe(r);

  r = Falcrest("ids", {"--start", start, "--subject", "Fish & Chips"});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_EQ(r.out.substr(0, r.out.find_first_of("\r\n")), "1") << Describe(r);

  r = Falcrest("modify", {"--event-id", "1", "--start", start, "--remind", remind, "--subject", "Moved", "--device",
                          "HomeEmail=c@d"});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  r = Falcrest("modify", {"--event-id", "42", "--start", start, "--remind", remind, "--subject", "Moved", "--device",
                          "HomeEmail=c@d"});
  EXPECT_EQ(r.exitCode, 1) << Describe(r);
  EXPECT_NE((r.out + r.err).find("No reminder with event id 42"), std::string::npos) << Describe(r);

  r = Falcrest("ids", {"--start", start, "--subject", "Fish & Chips"});
  EXPECT_EQ(r.exitCode, 1) << Describe(r);
  r = Falcrest("ids", {"--start", start, "--subject", "Moved"});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);

  r = Falcrest("delete", {"1"});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_EQ(r.out, "1\n") << Describe(r);
  // Nothing left to delete is an answer, not a refusal.
  r = Falcrest("delete", {"1"});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_EQ(r.out, "0\n") << Describe(r);
}

TEST_F(ServiceCliTest, RefusalAndErrorExitCodes) {
  ProgramResult r = Falcrest("device", {"HomeEmail"}, "wrong");
  EXPECT_EQ(r.exitCode, 1) << Describe(r);
  r = Falcrest("delete", {"1"}, "wrong");
  EXPECT_EQ(r.exitCode, 1) << Describe(r);

  const std::string url = service.EndpointUrl();
  service.Stop();
  r = RunProgram(BuildProgram("library/falcrest"),
                 {"device", "HomeEmail", "--url", url, "--user", "demo", "--password", "demo"});
  EXPECT_EQ(r.exitCode, 2) << Describe(r);
  EXPECT_FALSE(r.err.empty()) << Describe(r);
}

}  // namespace
}  // namespace falcrest::test
