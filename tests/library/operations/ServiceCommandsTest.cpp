// The falcrest service commands against a loopback service: where the connection comes from
// (options, else the stored settings), the records they send, and their exit statuses.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../transport/SoapText.h"
#include "support/LoopbackServer.h"
#include "support/ServiceProcess.h"
#include "library/constants/SettingsKey.h"
#include "library/registry/RegistryClass.h"

namespace falcrest::test {
namespace {

const std::string kSecretDigest = "5EBE2294ECD0E0F08EAB7690D2A6EE69";  // MD5 of "secret"

class ServiceCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "falcrest-cli-XXXXXX").string();
    ASSERT_NE(::mkdtemp(&pattern[0]), nullptr);
    folder_ = pattern;
    ::setenv("FALCREST_REGISTRY", (folder_ + "/registry.reg").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("FALCREST_REGISTRY");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  void StoreSetting(const std::string& name, const std::string& value) {
    RegistryClass settings;
    settings.SetRootKeyName(kSettingsRootName);
    settings.SetKeyName(kSettingsKey);
    settings.SetData(name, value);
  }

  ProgramResult Run(std::vector<std::string> args) { return RunProgram(BuildProgram("library/falcrest"), args); }

  // The command with the connection given on its command line.
  ProgramResult RunWith(std::vector<std::string> args, const std::string& password = "secret") {
    for (const std::string& a : {std::string("--url"), server_.Url(), std::string("--user"), std::string("42"),
                                 std::string("--password"), password})
      args.push_back(a);
    return Run(args);
  }

  std::string SentBody() { return server_.LastRequest().body; }

  LoopbackServer server_;
  std::string folder_;
};

std::string Describe(const ProgramResult& r) {
  return "exit " + std::to_string(r.exitCode) + "\nout: " + r.out + "\nerr: " + r.err;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(ServiceCommandsTest, ConnectionComesFromOptionsElseFromTheStoredSettings) {
  server_.Answer(ResultAnswer("GetOneMemberDevice", ""));
  ProgramResult r = RunWith({"device", "HomeEmail"});
  EXPECT_EQ(r.exitCode, 1) << Describe(r);
  EXPECT_TRUE(Contains(SentBody(), "<UserId>42</UserId>")) << SentBody();
  EXPECT_TRUE(Contains(SentBody(), kSecretDigest)) << SentBody();

  // Nothing on the command line: the add-in's settings, the password stored in Base64.
  StoreSetting("UserID", "7");
  StoreSetting("Password", "c2VjcmV0");
  StoreSetting("WebServiceURL", server_.Url());
  r = Run({"device", "SMS"});
  EXPECT_EQ(r.exitCode, 1) << Describe(r);
  EXPECT_EQ(server_.Requests().size(), 2u);
  EXPECT_TRUE(Contains(SentBody(), "<UserId>7</UserId>")) << SentBody();
  EXPECT_TRUE(Contains(SentBody(), kSecretDigest)) << SentBody();
  EXPECT_TRUE(Contains(SentBody(), "<deviceType>SMS</deviceType>")) << SentBody();

  // An empty password is sent empty, not as a digest.
  StoreSetting("Password", "");
  r = Run({"device", "SMS"});
  EXPECT_TRUE(Contains(SentBody(), "<Password></Password>")) << SentBody();
  r = RunWith({"device", "SMS"}, "");
  EXPECT_TRUE(Contains(SentBody(), "<Password></Password>")) << SentBody();
}

TEST_F(ServiceCommandsTest, MissingUrlAndDeadServiceAreErrors) {
  ProgramResult r = Run({"device", "HomeEmail"});
  EXPECT_EQ(r.exitCode, 2) << Describe(r);
  EXPECT_EQ(r.err, "falcrest: The reminder service URL is empty: set WebServiceURL in the settings\n");

  std::string url;
  {
    LoopbackServer gone;
    url = gone.Url();
  }
  r = Run({"delete", "5", "--url", url});
  EXPECT_EQ(r.exitCode, 2) << Describe(r);
  EXPECT_EQ(r.err, "falcrest: Cannot reach the reminder service at " + url + ": connection refused\n");
}

TEST_F(ServiceCommandsTest, DevicePrintsItsFields) {
  server_.Answer(ResultAnswer("GetOneMemberDevice",
                              "<DeviceId>8</DeviceId><DeviceType>SMS</DeviceType><DeviceAddress>5551234</DeviceAddress>"
                              "<ServiceProviderName>Acme</ServiceProviderName><Selected>true</Selected>"
                              "<LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime>"
                              "<DeliveryStatus></DeliveryStatus><ExtendStatus></ExtendStatus>"));
  ProgramResult r = RunWith({"device", "SMS"});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_EQ(r.out,
            "DeviceId: 8\nDeviceType: SMS\nDeviceAddress: 5551234\nServiceProviderName: Acme\nSelected: true\n"
            "DeliveryStatus: \nExtendStatus: \n");
}

TEST_F(ServiceCommandsTest, CreateSendsTheChosenDevicesOnly) {
  server_.Answer(ResultAnswer("CreateReminder", "<ErrorMessage></ErrorMessage>"
                                                "<ReminderDetailUrl>http://s/Reminder.aspx?id=3</ReminderDetailUrl>"));
  ProgramResult r = RunWith({"create", "--start", "3/14/2025 9:30:00 AM", "--remind", "3/14/2025 9:15:00 AM",
                             "--subject", "Fish & Chips", "--device", "HomeEmail=me@example.com", "--device",
                             "SMS=555|1234", "--provider", "Acme"});
  EXPECT_EQ(r.exitCode, 0) << Describe(r);
  EXPECT_EQ(r.out, "ErrorMessage: \nReminderDetailUrl: http://s/Reminder.aspx?id=3\n");
  const std::string body = SentBody();
  EXPECT_TRUE(Contains(body, "<Subject>Fish &amp; Chips</Subject>")) << body;
  EXPECT_TRUE(Contains(body, "<RemindDateTime>3/14/2025 9:15:00 AM</RemindDateTime>")) << body;
  EXPECT_TRUE(Contains(body, "<DeviceType>HomeEmail</DeviceType><DeviceAddress>me@example.com</DeviceAddress>"))
      << body;
  EXPECT_TRUE(Contains(body, "<DeviceType>SMS</DeviceType><DeviceAddress>555|1234</DeviceAddress>"
                             "<ServiceProviderName>Acme</ServiceProviderName>"))
      << body;
  size_t devices = 0;
  for (size_t at = body.find("<DeviceType>"); at != std::string::npos; at = body.find("<DeviceType>", at + 1))
    ++devices;
  EXPECT_EQ(devices, 2u) << "the spare slot is not sent: " << body;
}

TEST_F(ServiceCommandsTest, ExitStatusTellsDoneRefusedAndError) {
  const std::vector<std::string> reminder = {"--start", "1/2/2025", "--device", "Fax=5550000"};
  auto with = [&](std::vector<std::string> head) {
    head.insert(head.end(), reminder.begin(), reminder.end());
    return head;
  };
  struct Row {
    const char* name;
    std::string answer;
    int status;
    std::vector<std::string> args;
    int exit;
    std::string out;
  } rows[] = {
      {"ids found", ResultAnswer("GetReminderIds", "<int>12</int><int>15</int>"), 200,
       {"ids", "--start", "1/2/2025", "--subject", "x"}, 0, "12\n"},
      {"ids none", ResultAnswer("GetReminderIds", ""), 200, {"ids", "--start", "1/2/2025"}, 1, "-1\n"},
      {"delete done", ResultAnswer("DeleteReminderByEventId", "1"), 200, {"delete", "-5"}, 0, "1\n"},
      {"delete refused", FaultAnswer("No such event"), 500, {"delete", "5"}, 1, ""},
      {"create refused", FaultAnswer("Bad license"), 500, with({"create"}), 1, ""},
      {"create with error message", ResultAnswer("CreateReminder", "<ErrorMessage>Quota</ErrorMessage>"), 200,
       with({"create"}), 1, "ErrorMessage: Quota\nReminderDetailUrl: \n"},
      {"modify done", ResultAnswer("ModifyReminderByEventId", ""), 200, with({"modify", "--event-id", "12"}), 0,
       "The reminder of event 12 was replaced.\n"},
      {"modify refused", ResultAnswer("ModifyReminderByEventId", "Not yours"), 200,
       with({"modify", "--event-id", "12"}), 1, "Not yours\n"},
      {"unknown option", "", 200, {"delete", "5", "--force"}, 2, ""},
      {"event id not a number", "", 200, {"delete", "five"}, 2, ""},
      {"create without device", "", 200, {"create", "--start", "1/2/2025"}, 2, ""},
      {"device without type", "", 200, {"device"}, 2, ""},
      {"help", "", 200, {"modify", "--help"}, 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    server_.Answer(row.answer, row.status);
    size_t before = server_.Requests().size();
    ProgramResult r = RunWith(row.args);
    EXPECT_EQ(r.exitCode, row.exit) << Describe(r);
    if (!row.out.empty()) {
      EXPECT_EQ(r.out, row.out) << Describe(r);
    }
    if (row.exit != 0) {
      EXPECT_FALSE(r.err.empty()) << "a line on stderr says why";
    }
    if (row.exit == 2 || row.name == std::string("help")) {
      EXPECT_EQ(server_.Requests().size(), before) << "no call for a usage error or help";
    }
  }
  EXPECT_TRUE(Contains(server_.Requests()[2].body, "<eventId>-5</eventId>"));
}

TEST_F(ServiceCommandsTest, EveryCommandHasHelpAndTheProgramItsUsage) {
  for (const char* command : {"device", "ids", "create", "modify", "delete", "md5", "base64-encode",
                              "base64-decode", "registry", "settings"}) {
    ProgramResult r = Run({command, "--help"});
    EXPECT_EQ(r.exitCode, 0) << command << "\n" << Describe(r);
    EXPECT_EQ(r.out.rfind(std::string("usage: falcrest ") + command, 0), 0u) << command << "\n" << Describe(r);
    EXPECT_EQ(r.err, "") << command;
  }
  struct Row {
    std::vector<std::string> args;
    int exit;
    const char* out;  // start of standard output
    const char* err;  // start of standard error
  } rows[] = {
      {{}, 2, "", "usage: falcrest COMMAND"},
      {{"--help"}, 0, "usage: falcrest COMMAND", ""},
      {{"-h"}, 0, "usage: falcrest COMMAND", ""},
      {{"frobnicate"}, 2, "", "falcrest: unknown command \"frobnicate\"\n"},
  };
  for (const Row& row : rows) {
    ProgramResult r = Run(row.args);
    EXPECT_EQ(r.exitCode, row.exit) << Describe(r);
    EXPECT_EQ(r.out.rfind(row.out, 0), 0u) << Describe(r);
    EXPECT_EQ(r.err.rfind(row.err, 0), 0u) << Describe(r);
  }
}

}  // namespace
}  // namespace falcrest::test
