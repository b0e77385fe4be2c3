// The service's web pages through HTTP: sign-up, device set-up seen by the client library,
// the reminder pages with every text escaped, and the session that keeps each member's pages
// to that member.
#include <httplib.h>

#include "ServiceFixture.h"

namespace falcrest::test {
namespace {

class ServicePagesTest : public ServiceTest {
 protected:
  httplib::Result Form(const std::string& path, const httplib::Params& fields, const std::string& cookie = "") {
    return web.Post(path.c_str(), Headers(cookie), fields);
  }
  httplib::Result Page(const std::string& path, const std::string& cookie = "") {
    return web.Get(path.c_str(), Headers(cookie));
  }
  static httplib::Headers Headers(const std::string& cookie) {
    return cookie.empty() ? httplib::Headers{} : httplib::Headers{{"Cookie", cookie}};
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

  const std::string bobSession = service.LogIn("bob", "pw");
  ASSERT_NE(bobSession, "");
  const auto login = Page("/EditDevice.aspx", bobSession);
  ASSERT_TRUE(login);
  EXPECT_EQ(login->status, 200);
  for (const char* field : {"Address_HomeEmail", "Address_SMS", "Provider_SMS", "Address_YAHOO", "Address_Fax"})
    EXPECT_TRUE(Contains(login->body, std::string("name=\"") + field + "\"")) << field;

  const httplib::Params save = {{"Save", "1"},
                                {"Address_HomeEmail", "bob@example.com"},
                                {"Address_SMS", "555|0100"},
                                {"Provider_SMS", "Tel & Co"},
                                {"Address_Fax", "  555-0199 "}};
  const auto saved = Form("/EditDevice.aspx", save, bobSession);
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
  const auto removed = Form("/EditDevice.aspx", {{"Save", "1"}, {"Address_Fax", "555-0199"}}, bobSession);
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
  const std::string session = service.LogIn("demo", "demo");
  const std::string detailPath = created->ReminderDetailUrl.substr(service.BaseUrl().size());
  const auto list = Page("/Reminders.aspx", session);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->status, 200);
  EXPECT_TRUE(Contains(list->body, escaped));
  EXPECT_TRUE(Contains(list->body, "Text Messaging (SMS): 5551234 (Acme)"));
  EXPECT_TRUE(Contains(list->body, "<a href=\"" + detailPath + "\">" + escaped + "</a>"));
  EXPECT_FALSE(Contains(list->body, "<script>"));

  const auto detail = Page(detailPath, session);
  ASSERT_TRUE(detail);
  EXPECT_EQ(detail->status, 200);
  EXPECT_TRUE(Contains(detail->body, escaped));
  EXPECT_TRUE(Contains(detail->body, "<pre>Line 1\r\nLine 2</pre>"));

  struct Row {
    const char* path;
    int status;
  };
  for (const Row& row : {Row{"/Reminder.aspx?id=99", 404}, Row{"/Reminder.aspx?id=%3Cb%3E", 404},
                         Row{"/Reminder.aspx", 404}, Row{"/Reminders.aspx", 200}, Row{"/", 200},
                         Row{"/EditDevice.aspx", 200}, Row{"/Logout.aspx", 200},
                         Row{"/WebService/OutlookPlugin.asmx", 200}}) {
    const auto answer = Page(row.path, session);
    ASSERT_TRUE(answer) << row.path;
    EXPECT_EQ(answer->status, row.status) << row.path;
  }
}

// Member A is demo, member B signs up; each has a reminder and devices. Every page that shows
// or changes a member's data answers without a session with the log-in form alone, and with
// A's session shows A's data and nothing of B's.
TEST_F(ServicePagesTest, MemberPagesShowOnlyTheLoggedInMembersData) {
  const std::string bPassword = "B's pass & word";
  const auto signup = Form("/Signup.aspx", {{"UserId", "bea"}, {"Password", bPassword}, {"SignupEmail", "bea@b.example"}});
  ASSERT_TRUE(signup);
  const std::string bSession = signup->get_header_value("Set-Cookie").substr(0, signup->get_header_value("Set-Cookie").find(';'));
  ASSERT_TRUE(Form("/EditDevice.aspx", {{"Save", "1"}, {"Address_WorkEmail", "bea@work.example"}}, bSession));
  const LicenseType bea = MakeLicense("bea", bPassword);
  const auto aCreated = client.CreateReminder(demo, MakeReminder("5/1/2024 10:00:00 AM", "A-dentist", "demo",
                                                                 {{"HomeEmail", "demo@example.com", ""}}));
  const auto bCreated = client.CreateReminder(bea, MakeReminder("5/1/2024 10:00:00 AM", "B-lawyer", "bea",
                                                                {{"WorkEmail", "bea@work.example", ""}}));
  ASSERT_TRUE(aCreated && bCreated);
  const std::string aDetail = aCreated->ReminderDetailUrl.substr(service.BaseUrl().size());
  const std::string bDetail = bCreated->ReminderDetailUrl.substr(service.BaseUrl().size());
  std::vector<std::string> seen;  // every page's HTML, checked for passwords at the end
  const std::vector<std::string> aData = {"A-dentist", "demo@example.com", "5551234"};
  const std::vector<std::string> bData = {"B-lawyer", "bea@work.example"};

  // No session, a made-up one, or one from before a restart: the log-in form and no data.
  const std::string memberPages[] = {"/Reminders.aspx", "/Reminders.aspx?user=demo", aDetail, "/Reminder.aspx?id=1",
                                     "/EditDevice.aspx"};
  for (const std::string& cookie : {std::string(), std::string("TarvanelSession="),
                                    std::string("TarvanelSession=00112233445566778899aabbccddeeff")}) {
    for (const std::string& path : memberPages) {
      const auto answer = Page(path, cookie);
      ASSERT_TRUE(answer) << path;
      seen.push_back(answer->body);
      EXPECT_EQ(answer->status, 200) << path;
      EXPECT_TRUE(Contains(answer->body, "name=\"Password\"")) << path << " with \"" << cookie << "\"";
      for (const std::string& data : aData) EXPECT_FALSE(Contains(answer->body, data)) << path << ": " << data;
    }
  }
  // Nor does a save without a session change anything.
  const auto blindSave = Form("/EditDevice.aspx", {{"Save", "1"}, {"Address_Fax", "555-0000"}});
  ASSERT_TRUE(blindSave);
  EXPECT_TRUE(Contains(blindSave->body, "name=\"Password\""));
  EXPECT_TRUE(client.GetOneMemberDevice(demo, "HomeEmail"));
  EXPECT_FALSE(client.GetOneMemberDevice(demo, "Fax"));

  // Logging in on the detail page returns to it, with a cookie scripts and other sites cannot use.
  const auto login = Form(aDetail, {{"UserId", "demo"}, {"Password", "demo"}});
  ASSERT_TRUE(login);
  EXPECT_EQ(login->status, 303);
  EXPECT_EQ(login->get_header_value("Location"), aDetail);
  const std::string setCookie = login->get_header_value("Set-Cookie");
  EXPECT_EQ(setCookie.rfind("TarvanelSession=", 0), 0u) << setCookie;
  for (const char* flag : {"; HttpOnly", "; SameSite=Strict", "; Path=/"})
    EXPECT_TRUE(Contains(setCookie, flag)) << setCookie;
  const std::string aSession = setCookie.substr(0, setCookie.find(';'));
  EXPECT_EQ(aSession.size(), std::string("TarvanelSession=").size() + 64) << setCookie;

  // A's session: A's pages show A's data and nothing of B's, whatever the URL asks for.
  for (const std::string& path : {std::string("/Reminders.aspx"), std::string("/Reminders.aspx?user=bea"), aDetail,
                                  std::string("/EditDevice.aspx")}) {
    const auto answer = Page(path, aSession);
    ASSERT_TRUE(answer) << path;
    seen.push_back(answer->body);
    EXPECT_EQ(answer->status, 200) << path;
    EXPECT_TRUE(Contains(answer->body, "Signed in as <b>demo</b>")) << path;
    EXPECT_FALSE(Contains(answer->body, "name=\"Password\"")) << path;
    for (const std::string& data : bData) EXPECT_FALSE(Contains(answer->body, data)) << path << ": " << data;
  }
  EXPECT_TRUE(Contains(Page(aDetail, aSession)->body, "A-dentist"));
  // B's reminder, a made-up token and the running number all read alike: not found, no hint.
  const auto bsReminder = Page(bDetail, aSession);
  ASSERT_TRUE(bsReminder);
  EXPECT_EQ(bsReminder->status, 404);
  for (const std::string& path : {std::string("/Reminder.aspx?id=00112233445566778899aabbccddeeff"),
                                  std::string("/Reminder.aspx?id=2")}) {
    const auto answer = Page(path, aSession);
    ASSERT_TRUE(answer) << path;
    EXPECT_EQ(answer->status, 404) << path;
    EXPECT_EQ(answer->body, bsReminder->body) << path;
  }
  // B still sees B's own reminder through B's link.
  EXPECT_TRUE(Contains(Page(bDetail, bSession)->body, "B-lawyer"));

  // After "Log out" the cookie is cleared and no longer opens anything.
  const auto logout = Page("/Logout.aspx", aSession);
  ASSERT_TRUE(logout);
  EXPECT_TRUE(Contains(logout->get_header_value("Set-Cookie"), "Max-Age=0"));
  const auto afterLogout = Page("/Reminders.aspx", aSession);
  ASSERT_TRUE(afterLogout);
  EXPECT_TRUE(Contains(afterLogout->body, "name=\"Password\""));
  EXPECT_FALSE(Contains(afterLogout->body, "A-dentist"));

  // Three wrong passwords pass at speed; the next try must wait, even with the right password.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Form("/Reminders.aspx", {{"UserId", "bea"}, {"Password", "guess"}})->status, 403);
  const auto slowed = Form("/Reminders.aspx", {{"UserId", "bea"}, {"Password", bPassword}});
  ASSERT_TRUE(slowed);
  seen.push_back(slowed->body);
  EXPECT_EQ(slowed->status, 429);
  EXPECT_NE(slowed->get_header_value("Retry-After"), "");
  EXPECT_FALSE(slowed->has_header("Set-Cookie"));

  for (const std::string& html : seen) {
    EXPECT_FALSE(Contains(html, "pass &amp; word")) << html;
    EXPECT_FALSE(Contains(html, "type=\"hidden\" name=\"Password\"")) << html;
  }
}

}  // namespace
}  // namespace falcrest::test
