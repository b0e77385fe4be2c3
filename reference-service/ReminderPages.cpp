// The home page, the reminder list and the reminder detail page, and the routes of all pages.
#include "library/service/ServiceAddress.h"
#include "reference-service/Html.h"
#include "reference-service/Pages.h"

namespace reminder_service {

namespace {

const char* const kHtml = "text/html; charset=utf-8";

std::string DeviceSummary(const Device& d) {
  std::string text = DeviceLabel(d.type) + ": " + d.address;
  if (!d.provider.empty()) text += " (" + d.provider + ")";
  return EscapeHtml(text);
}

std::string DeviceCell(const std::vector<Device>& devices) {
  std::string html;
  for (const Device& d : devices) html += (html.empty() ? "" : "<br>") + DeviceSummary(d);
  return html;
}

std::string ReminderLink(const StoredEvent& e) {
  return "<a href=\"/Reminder.aspx?id=" + EscapeHtml(EncodeQueryValue(e.detailToken)) + "\">" +
         EscapeHtml(e.data.subject.empty() ? "(no subject)" : e.data.subject) + "</a>";
}

}  // namespace

std::map<std::string, std::string> RequestFields(const httplib::Request& req) {
  std::map<std::string, std::string> fields;
  for (const auto& p : req.params) fields[p.first] = p.second;
  if (req.get_header_value("Content-Type").rfind("application/x-www-form-urlencoded", 0) == 0)
    for (auto& f : ParseForm(req.body)) fields[f.first] = f.second;
  return fields;
}

std::string DeviceLabel(const std::string& type) {
  static const std::map<std::string, std::string> kLabels = {
      {"HomeEmail", "Home Email"},         {"WorkEmail", "Work Email"},
      {"HomePhone", "Home Phone"},         {"WorkPhone", "Work Phone"},
      {"CellPhone", "Cell Phone"},         {"SMS", "Text Messaging (SMS)"},
      {"AIM", "AIM Screen Name"},          {"MSN", "MSN Messenger Account"},
      {"YAHOO", "Yahoo Messenger ID"},     {"Fax", "Fax"}};
  const auto it = kLabels.find(type);
  return it == kLabels.end() ? type : it->second;
}

void WebPages::Register(httplib::Server& server) {
  using httplib::Request;
  using httplib::Response;
  using Page = void (WebPages::*)(const Visit&, Response&);
  const auto open = [this](Page page, bool posted) {
    return [this, page, posted](const Request& q, Response& r) { (this->*page)(Open(q, posted), r); };
  };
  const auto member = [this](const char* what, MemberPage page, bool posted) {
    return [this, what, page, posted](const Request& q, Response& r) { Guarded(what, page, q, posted, r); };
  };
  server.Get("/", open(&WebPages::Home, false));
  server.Get(R"(/WebService/OutlookPlugin\.asmx)", open(&WebPages::ServiceInfo, false));
  server.Get(R"(/Signup\.aspx)", open(&WebPages::Signup, false));
  server.Post(R"(/Signup\.aspx)", open(&WebPages::Signup, true));
  server.Get(R"(/Logout\.aspx)", open(&WebPages::LogOut, false));
  server.Post(R"(/Logout\.aspx)", open(&WebPages::LogOut, true));
  server.Get(R"(/EditDevice\.aspx)", member("your devices", &WebPages::EditDevice, false));
  server.Post(R"(/EditDevice\.aspx)", member("your devices", &WebPages::EditDevice, true));
  server.Get(R"(/Reminders\.aspx)", member("your reminders", &WebPages::Reminders, false));
  server.Post(R"(/Reminders\.aspx)", member("your reminders", &WebPages::Reminders, true));
  server.Get(R"(/Reminder\.aspx)", member("this reminder", &WebPages::Reminder, false));
  server.Post(R"(/Reminder\.aspx)", member("this reminder", &WebPages::Reminder, true));
}

void WebPages::Home(const Visit& visit, httplib::Response& res) {
  res.set_content(RenderPage("Tarvanel Reminder service",
                             "<ul><li><a href=\"/Signup.aspx\">Sign up for a free account</a></li>"
                             "<li><a href=\"/EditDevice.aspx\">Set up your devices</a></li>"
                             "<li><a href=\"/Reminders.aspx\">See your reminders</a></li></ul>\n"
                             "<p>The add-in's web service lives at <code>" +
                                 std::string(falcrest::kServicePath) + "</code>.</p>\n",
                             visit.member ? visit.member->userId : std::string()),
                  kHtml);
}

void WebPages::ServiceInfo(const Visit& visit, httplib::Response& res) {
  res.set_content(RenderPage("OutlookPlugin web service",
                             "<p>SOAP 1.1 endpoint; post requests in the namespace <code>" +
                                 EscapeHtml(falcrest::kServiceNamespace) +
                                 "</code>.</p>\n<ul><li>GetOneMemberDevice</li><li>CreateReminder</li>"
                                 "<li>GetReminderIds</li><li>DeleteReminderByEventId</li>"
                                 "<li>ModifyReminderByEventId</li></ul>\n",
                             visit.member ? visit.member->userId : std::string()),
                  kHtml);
}

std::string WebPages::ReminderList(const Member& member) {
  const std::vector<StoredEvent> events = store_.EventsOf(member.userId);
  std::string html = "<p>Your reminders: " + std::to_string(events.size()) + "</p>\n";
  if (events.empty()) return html;
  html += "<table><tr><th>Subject</th><th>Event</th><th>Remind at</th><th>Devices</th></tr>\n";
  for (const StoredEvent& e : events) {
    html += "<tr><td>" + ReminderLink(e) + "</td><td>" + EscapeHtml(e.data.eventDateTime) + "</td><td>" +
            EscapeHtml(e.data.remindDateTime) + "</td><td>" + DeviceCell(e.data.devices) + "</td></tr>\n";
  }
  return html + "</table>\n";
}

void WebPages::Reminders(const Member& member, const Visit&, httplib::Response& res) {
  res.set_content(RenderPage("Reminders", ReminderList(member), member.userId), kHtml);
}

void WebPages::Reminder(const Member& member, const Visit& visit, httplib::Response& res) {
  const std::string token = FormValue(visit.form, "id");
  std::optional<StoredEvent> event;
  if (!token.empty()) event = store_.FindMemberEvent(member.userId, token);
  if (!event) {
    // The same answer whether the reminder is another member's or none at all.
    res.status = 404;
    res.set_content(RenderPage("Reminder", ErrorList({"There is no such reminder among yours."}) +
                                               "<p><a href=\"/Reminders.aspx\">Your reminders</a></p>\n",
                               member.userId),
                    kHtml);
    return;
  }
  const ReminderData& d = event->data;
  std::string devices;
  for (const Device& device : d.devices) devices += "<li>" + DeviceSummary(device) + "</li>";
  res.set_content(RenderPage("Reminder",
                             "<table><tr><th>Subject</th><td>" + EscapeHtml(d.subject) +
                                 "</td></tr>\n<tr><th>Event</th><td>" + EscapeHtml(d.eventDateTime) +
                                 "</td></tr>\n<tr><th>Description</th><td><pre>" + EscapeHtml(d.description) +
                                 "</pre></td></tr>\n<tr><th>Remind at</th><td>" + EscapeHtml(d.remindDateTime) +
                                 "</td></tr>\n<tr><th>Devices</th><td><ul>" + devices +
                                 "</ul></td></tr></table>\n<p><a href=\"/Reminders.aspx\">Your reminders</a></p>\n",
                             member.userId),
                  kHtml);
}

}  // namespace reminder_service
