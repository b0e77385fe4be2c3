// Texts that look like markup, CR LF, quotes and non-Latin script, end to end: through
// WebService to the real reference service and back, and on the wire, where no text may
// add or change an element of the request.
#include <gtest/gtest.h>
#include <httplib.h>

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "library/digest/MD5HashClass.h"
#include "library/records/CalendarEventKeyType.h"
#include "library/records/LicenseType.h"
#include "library/records/ReminderType.h"
#include "library/service/WebService.h"
#include "reference-service/Html.h"
#include "reference-service/ReminderStore.h"
#include "support/LoopbackServer.h"
#include "support/ServiceProcess.h"

namespace faults {
namespace {

using falcrest::CalendarEventKeyType;
using falcrest::LicenseType;
using falcrest::ReminderType;

struct HostileRow {
  const char* name;
  std::string subject;
  std::string location;
  std::string body;
};

std::vector<HostileRow> Rows() {
  return {
      {"ampersand", "Fish & Chips", "Bar & Grill", "&amp; stays &amp;, &#60; stays &#60;"},
      {"markup", "<b>bold</b> <Subject>x</Subject>", "</Description><EventId>999</EventId>",
       "</Event></reminder><reminder><Event>"},
      {"CDATA end", "]]>", "<![CDATA[ x ]]>", "a ]]> b ]]]]><![CDATA[>"},
      {"quotes", "He said \"hi\" & 'bye'", "'\"'", "\"\"\""},
      {"line breaks", "two\r\nlines", "a\rb\nc", "line one\r\nline two\r\n\r\n"},
      {"non-Latin", "\xD0\x92\xD1\x81\xD1\x82\xD1\x80\xD0\xB5\xD1\x87\xD0\xB0 \xE4\xBC\x9A\xE8\xAD\xB0 \xF0\x9F\x93\x85",
       "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7", "\xE2\x80\xAE reversed \xE2\x80\xAC"},
      {"blanks and tabs", "  padded  ", "\t", " "},
  };
}

// The description the add-in builds from an appointment's location and body.
std::string Description(const HostileRow& row) { return "Location:" + row.location + "\r\nDetail:" + row.body; }

LicenseType Demo() {
  return LicenseType{"demo", falcrest::MD5HashClass().ComputeHash("demo"), "Tovern", "Outlook"};
}

ReminderType MakeReminder(const std::string& subject, const std::string& description, int32_t eventId = 0) {
  ReminderType reminder;
  reminder.EventPropty = std::make_shared<falcrest::CalendarEventType>();
  reminder.EventPropty->EventId = eventId;
  reminder.EventPropty->EventDateTime = "6/1/2031 10:00:00 AM";
  reminder.EventPropty->Subject = subject;
  reminder.EventPropty->Description = description;
  reminder.RemindDateTime = "6/1/2031 9:45:00 AM";
  reminder.User = std::make_shared<falcrest::MemberType>();
  reminder.User->UserId = "demo";
  reminder.User->Devices = falcrest::RecordArray<falcrest::DeviceType>(0, 1);
  auto device = std::make_shared<falcrest::DeviceType>();
  device->DeviceType = "HomeEmail";
  device->DeviceAddress = "demo@example.com";
  reminder.User->Devices.Set(0, device);
  return reminder;
}

TEST(HostileText, ReachesTheServiceAndComesBackUnchanged) {
  falcrest::test::ServiceProcess service;
  falcrest::WebService client;
  client.WebServiceURL = service.EndpointUrl();
  httplib::Client web("127.0.0.1", service.Port());
  const httplib::Headers session = {{"Cookie", service.LogIn("demo", "demo")}};

  for (const HostileRow& row : Rows()) {
    const auto result = client.CreateReminder(Demo(), MakeReminder(row.subject, Description(row)));
    ASSERT_TRUE(result) << row.name;
    EXPECT_EQ(result->ErrorMessage, "") << row.name;
    ASSERT_EQ(result->ReminderDetailUrl.rfind(service.BaseUrl(), 0), 0u) << row.name << ": " << result->ReminderDetailUrl;

    // Found again by the same subject.
    const int32_t id =
        client.GetReminderIds(Demo(), CalendarEventKeyType{"demo", "6/1/2031 10:00:00 AM", row.subject});
    ASSERT_GT(id, 0) << row.name;

    // Stored exactly as typed.
    reminder_service::ReminderStore store(service.DatabasePath());
    const auto stored = store.FindEvent(id);
    ASSERT_TRUE(stored) << row.name;
    EXPECT_EQ(stored->data.subject, row.subject) << row.name;
    EXPECT_EQ(stored->data.description, Description(row)) << row.name;

    // Shown escaped on the service's own page, where the detail link leads.
    const auto page = web.Get(result->ReminderDetailUrl.substr(service.BaseUrl().size()), session);
    ASSERT_TRUE(page) << row.name;
    EXPECT_NE(page->body.find("<td>" + reminder_service::EscapeHtml(row.subject) + "</td>"), std::string::npos)
        << row.name;

    // A change with the hostile text goes through too, and the subject is still found.
    EXPECT_EQ(client.ModifyReminderByEventId(Demo(), MakeReminder(row.subject, row.body + row.location, id)), "")
        << row.name;
    EXPECT_EQ(reminder_service::ReminderStore(service.DatabasePath()).FindEvent(id)->data.description,
              row.body + row.location)
        << row.name;
  }
  EXPECT_EQ(reminder_service::ReminderStore(service.DatabasePath()).EventsOf("demo").size(), Rows().size());
}

TEST(HostileText, DeviceTextsFromTheServiceComeBackUnchanged) {
  falcrest::test::ServiceProcess service;
  httplib::Client web("127.0.0.1", service.Port());
  const std::string address = "555 & <0100> \"x\" ]]>";
  const std::string provider = "Tel & Co <SMS> \xE2\x98\x8E";
  const auto saved = web.Post("/EditDevice.aspx", {{"Cookie", service.LogIn("demo", "demo")}},
                              httplib::Params{{"Save", "1"},
                                              {"Address_HomeEmail", "demo@example.com"}, {"Address_SMS", address},
                                              {"Provider_SMS", provider}});
  ASSERT_TRUE(saved);
  falcrest::WebService client;
  client.WebServiceURL = service.EndpointUrl();
  const auto sms = client.GetOneMemberDevice(Demo(), "SMS");
  ASSERT_TRUE(sms);
  EXPECT_EQ(sms->DeviceAddress, address);
  EXPECT_EQ(sms->ServiceProviderName, provider);
}

// Element names of the request body in document order, with their depth: the request's shape.
std::string Shape(const std::string& body) {
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(body.data(), body.size(), (pugi::parse_default | pugi::parse_ws_pcdata) & ~pugi::parse_eol);
  if (!parsed) return std::string("not XML: ") + parsed.description();
  struct Walker : pugi::xml_tree_walker {
    std::string shape;
    bool for_each(pugi::xml_node& node) override {
      if (node.type() == pugi::node_element) shape += std::to_string(depth()) + node.name() + " ";
      if (node.type() == pugi::node_cdata) shape += "CDATA ";
      return true;
    }
  } walker;
  doc.traverse(walker);
  return walker.shape;
}

std::string TextAt(const std::string& body, const char* path) {
  pugi::xml_document doc;
  doc.load_buffer(body.data(), body.size(), (pugi::parse_default | pugi::parse_ws_pcdata) & ~pugi::parse_eol);
  return doc.select_node(path).node().text().get();
}

TEST(HostileText, NoTextAddsOrChangesAnElementOfTheRequest) {
  falcrest::test::LoopbackServer server;
  falcrest::WebService client;
  client.WebServiceURL = server.Url();
  // Refused, so that each operation returns its empty result and the request is all we see.
  server.Answer(
      "<soap:Envelope xmlns:soap='http://schemas.xmlsoap.org/soap/envelope/'><soap:Body><soap:Fault>"
      "<faultcode>soap:Client</faultcode><faultstring>refused</faultstring></soap:Fault></soap:Body></soap:Envelope>",
      500);

  // Every operation once with plain texts and once with each hostile row in every text
  // field: the two requests must have the same elements, and the fields the same text.
  auto requests = [&](const std::string& text) {
    LicenseType license{text, text, "Tovern", text};
    std::vector<std::string> bodies;
    client.GetOneMemberDevice(license, text);
    bodies.push_back(server.LastRequest().body);
    client.CreateReminder(license, MakeReminder(text, text));
    bodies.push_back(server.LastRequest().body);
    client.GetReminderIds(license, CalendarEventKeyType{text, text, text});
    bodies.push_back(server.LastRequest().body);
    client.DeleteReminderByEventId(license, -5);
    bodies.push_back(server.LastRequest().body);
    client.ModifyReminderByEventId(license, MakeReminder(text, text, 7));
    bodies.push_back(server.LastRequest().body);
    return bodies;
  };
  const std::vector<std::string> plain = requests("plain");
  const char* const kFields[] = {"//license/UserId", "//deviceType", "//reminder/Event/Subject",
                                 "//reminder/Event/Description", "//eventKey/Subject", "//eventKey/UserId"};

  for (const HostileRow& row : Rows()) {
    for (const std::string& text : {row.subject, row.location, row.body}) {
      const std::vector<std::string> hostile = requests(text);
      for (size_t i = 0; i < plain.size(); ++i) {
        EXPECT_EQ(Shape(hostile[i]), Shape(plain[i])) << row.name << ", request " << i << ":\n" << hostile[i];
        for (const char* field : kFields) {
          if (TextAt(plain[i], field) == "plain") {
            EXPECT_EQ(TextAt(hostile[i], field), text) << row.name << ", request " << i << ", " << field;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace faults
