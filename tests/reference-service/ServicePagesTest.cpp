// The service's web pages through HTTP: sign-up, device set-up seen by the client library,
// and the reminder pages with every text escaped.
#include <httplib.h>

#include "ServiceFixture.h"

namespace falcrest::test {
namespace {

class ServicePagesTest : public ServiceTest {
 protected:
  httplib::Result Form(const std::string& path, const httplib::Params& fields) {
    return web.Post(path.c_str(), fields);
  }
  httplib::Client web{"127.0.0.1", service.Port()};
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(ServicePagesTest, SignupCreatesAMemberAndRefusesBadForms) {
  const auto page = web.Get("/Signup.aspx");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_TRUE(Contains(page->body, "<form method=\"post\" action=\"/Signup.aspx\">"));
  EXPECT_FALSE(Contains(page->body, "<script"));

  struct Row {
    const char* name;
    httplib::Params fields;
    int status;
    std::vector<std::string> texts;
  };
  const Row rows[] = {
      {"new member",
       {{"UserId", "alice"}, {"Password", "s3cret"}, {"FirstName", "Alice"}, {"SignupEmail", "alice@example.com"}},
       200,
       {"Your account &quot;alice&quot; is ready.", "href=\"/EditDevice.aspx\""}},
      {"taken user ID", {{"UserId", "alice"}, {"Password", "x"}, {"SignupEmail", "a2@example.com"}}, 400,
       {"The user ID &quot;alice&quot; is taken; please choose another."}},
      {"demo is taken too", {{"UserId", "demo"}, {"Password", "x"}, {"SignupEmail", "d@example.com"}}, 400,
       {"is taken"}},
      {"empty fields", {}, 400,
       {"Please enter a user ID.", "Please enter a password.", "Please enter the e-mail address to sign up with."}},
      {"blank in user ID", {{"UserId", "al ice"}, {"Password", "x"}, {"SignupEmail", "a@example.com"}}, 400,
       {"The user ID may not contain blanks or control characters."}},
      {"markup is escaped", {{"UserId", "<b>"}, {"Password", ""}, {"SignupEmail", "a@example.com"}}, 400,
       {"value=\"&lt;b&gt;\"", "Please enter a password."}},
  };
  for (const Row& row : rows) {
    const auto answer = Form("/Signup.aspx", row.fields);
    ASSERT_TRUE(answer) << row.name;
    EXPECT_EQ(answer->status, row.status) << row.name;
    for (const std::string& text : row.texts) EXPECT_TRUE(Contains(answer->body, text)) << row.name << ": " << text;
  }
  EXPECT_TRUE(client.GetOneMemberDevice(MakeLicense("alice", "s3cret"), "HomeEmail") == nullptr);
  // The new member's credentials are accepted: an empty result, not a fault.
  std::string response = "unset";
  EXPECT_TRUE(client.CallWebMethod("GetOneMemberDevice",
                                   "<GetOneMemberDevice xmlns='http://reminder.tarvanel.com/'>" +
                                       MakeLicense("alice", "s3cret").Serialize("license") +
                                       "<deviceType>Fax</deviceType></GetOneMemberDevice>",
                                   response));
  EXPECT_EQ(response, "");
}

TEST_F(ServicePagesTest, EditDeviceSetsWhatTheClientReads) {
  ASSERT_TRUE(Form("/Signup.aspx", {{"UserId", "bob"}, {"Password", "pw"}, {"SignupEmail", "bob@example.com"}}));
  const auto refused = Form("/EditDevice.aspx", {{"UserId", "bob"}, {"Password", "wrong"}});
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 403);
  EXPECT_TRUE(Contains(refused->body, "Invalid user ID or password."));

  const auto login = Form("/EditDevice.aspx", {{"UserId", "bob"}, {"Password", "pw"}});
  ASSERT_TRUE(login);
  EXPECT_EQ(login->status, 200);
  for (const char* field : {"Address_HomeEmail", "Address_SMS", "Provider_SMS", "Address_YAHOO", "Address_Fax"})
    EXPECT_TRUE(Contains(login->body, std::string("name=\"") + field + "\"")) << field;

  const httplib::Params save = {{"UserId", "bob"},           {"Password", "pw"},
                                {"Save", "1"},               {"Address_HomeEmail", "bob@example.com"},
                                {"Address_SMS", "555|0100"}, {"Provider_SMS", "Tel & Co"},
                                {"Address_Fax", "  555-0199 "}};
  const auto saved = Form("/EditDevice.aspx", save);
  ASSERT_TRUE(saved);
  EXPECT_TRUE(Contains(saved->body, "Your devices are saved."));
  EXPECT_TRUE(Contains(saved->body, "value=\"Tel &amp; Co\""));

  const LicenseType bob = MakeLicense("bob", "pw");
  const auto sms = client.GetOneMemberDevice(bob, "SMS");
  ASSERT_TRUE(sms);
  EXPECT_EQ(sms->DeviceAddress, "555|0100");
  EXPECT_EQ(sms->ServiceProviderName, "Tel & Co");
  const auto fax = client.GetOneMemberDevice(bob, "Fax");
  ASSERT_TRUE(fax);
  EXPECT_EQ(fax->DeviceAddress, "555-0199");
  EXPECT_TRUE(client.GetOneMemberDevice(bob, "HomeEmail"));

  // An empty address removes the device.
  const auto removed = Form("/EditDevice.aspx", {{"UserId", "bob"}, {"Password", "pw"}, {"Save", "1"},
                                                 {"Address_Fax", "555-0199"}});
  ASSERT_TRUE(removed);
  EXPECT_FALSE(client.GetOneMemberDevice(bob, "HomeEmail"));
  EXPECT_FALSE(client.GetOneMemberDevice(bob, "SMS"));
  EXPECT_TRUE(client.GetOneMemberDevice(bob, "Fax"));
}

TEST_F(ServicePagesTest, ReminderPagesShowEscapedTexts) {
  const std::string subject = "<script>alert(1)</script> & \"co\"";
  const auto created = client.CreateReminder(
      demo, MakeReminder("5/1/2024 10:00:00 AM", subject, "demo", {{"SMS", "5551234", "Acme"}}, 0, "Line 1\r\nLine 2"));
  ASSERT_TRUE(created);
  ASSERT_EQ(created->ErrorMessage, "");

  const std::string escaped = "&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;co&quot;";
  const auto list = web.Get("/Reminders.aspx?user=demo");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->status, 200);
  EXPECT_TRUE(Contains(list->body, escaped));
  EXPECT_TRUE(Contains(list->body, "Text Messaging (SMS): 5551234 (Acme)"));
  EXPECT_TRUE(Contains(list->body, "<a href=\"/Reminder.aspx?id=1\">1</a>"));
  EXPECT_FALSE(Contains(list->body, "<script>"));

  const auto loggedIn = Form("/Reminders.aspx", {{"UserId", "demo"}, {"Password", "demo"}});
  ASSERT_TRUE(loggedIn);
  EXPECT_TRUE(Contains(loggedIn->body, escaped));

  const std::string detailPath = created->ReminderDetailUrl.substr(service.BaseUrl().size());
  const auto detail = web.Get(detailPath.c_str());
  ASSERT_TRUE(detail);
  EXPECT_EQ(detail->status, 200);
  EXPECT_TRUE(Contains(detail->body, escaped));
  EXPECT_TRUE(Contains(detail->body, "<pre>Line 1\r\nLine 2</pre>"));

  struct Row {
    const char* path;
    int status;
  };
  for (const Row& row : {Row{"/Reminder.aspx?id=99", 404}, Row{"/Reminder.aspx?id=abc", 404}, Row{"/Reminder.aspx", 404},
                         Row{"/Reminders.aspx?user=nobody", 404}, Row{"/Reminders.aspx", 200}, Row{"/", 200},
                         Row{"/EditDevice.aspx", 200}, Row{"/WebService/OutlookPlugin.asmx", 200}}) {
    const auto answer = web.Get(row.path);
    ASSERT_TRUE(answer) << row.path;
    EXPECT_EQ(answer->status, row.status) << row.path;
  }
}

}  // namespace
}  // namespace falcrest::test
