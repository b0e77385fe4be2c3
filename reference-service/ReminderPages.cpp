// The home page, the reminder list and the reminder detail page, and the routes of all pages.
#include "library/service/ServiceAddress.h"
#include "reference-service/Html.h"
#include "reference-service/Pages.h"

namespace reminder_service {

namespace {

const char* const kHtml = "text/html; charset=utf-8";

std::string Get(const std::map<std::string, std::string>& form, const std::string& name) {
  const auto it = form.find(name);
  return it == form.end() ? std::string() : it->second;
}

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

std::string ReminderLink(int64_t id) {
  const std::string n = std::to_string(id);
  return "<a href=\"/Reminder.aspx?id=" + n + "\">" + n + "</a>";
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
  server.Get("/", [this](const Request&, Response& res) { Home(res); });
  server.Get(R"(/WebService/OutlookPlugin\.asmx)", [this](const Request&, Response& res) { ServiceInfo(res); });
  server.Get(R"(/Signup\.aspx)", [this](const Request& q, Response& r) { Signup(RequestFields(q), false, r); });
  server.Post(R"(/Signup\.aspx)", [this](const Request& q, Response& r) { Signup(RequestFields(q), true, r); });
  server.Get(R"(/EditDevice\.aspx)", [this](const Request& q, Response& r) { EditDevice(RequestFields(q), false, r); });
  server.Post(R"(/EditDevice\.aspx)", [this](const Request& q, Response& r) { EditDevice(RequestFields(q), true, r); });
  server.Get(R"(/Reminders\.aspx)", [this](const Request& q, Response& r) { Reminders(RequestFields(q), false, r); });
  server.Post(R"(/Reminders\.aspx)", [this](const Request& q, Response& r) { Reminders(RequestFields(q), true, r); });
  server.Get(R"(/Reminder\.aspx)", [this](const Request& q, Response& r) { Reminder(RequestFields(q), r); });
}

void WebPages::Home(httplib::Response& res) {
  res.set_content(RenderPage("Tarvanel Reminder service",
                             "<ul><li><a href=\"/Signup.aspx\">Sign up for a free account</a></li>"
                             "<li><a href=\"/EditDevice.aspx\">Set up your devices</a></li>"
                             "<li><a href=\"/Reminders.aspx\">See your reminders</a></li></ul>\n"
                             "<p>The add-in's web service lives at <code>" +
                                 std::string(falcrest::kServicePath) + "</code>.</p>\n"),
                  kHtml);
}

void WebPages::ServiceInfo(httplib::Response& res) {
  res.set_content(RenderPage("OutlookPlugin web service",
                             "<p>SOAP 1.1 endpoint; post requests in the namespace <code>" +
                                 EscapeHtml(falcrest::kServiceNamespace) +
                                 "</code>.</p>\n<ul><li>GetOneMemberDevice</li><li>CreateReminder</li>"
                                 "<li>GetReminderIds</li><li>DeleteReminderByEventId</li>"
                                 "<li>ModifyReminderByEventId</li></ul>\n"),
                  kHtml);
}

std::string WebPages::ReminderList(const Member& member) {
  const std::vector<StoredEvent> events = store_.EventsOf(member.userId);
  std::string html = "<p>Reminders of <b>" + EscapeHtml(member.userId) + "</b>: " + std::to_string(events.size()) +
                     "</p>\n";
  if (events.empty()) return html;
  html += "<table><tr><th>Id</th><th>Event</th><th>Subject</th><th>Remind at</th><th>Devices</th></tr>\n";
  for (const StoredEvent& e : events) {
    html += "<tr><td>" + ReminderLink(e.id) + "</td><td>" + EscapeHtml(e.data.eventDateTime) + "</td><td>" +
            EscapeHtml(e.data.subject) + "</td><td>" + EscapeHtml(e.data.remindDateTime) + "</td><td>" +
            DeviceCell(e.data.devices) + "</td></tr>\n";
  }
  return html + "</table>\n";
}

void WebPages::Reminders(const Fields& form, bool posted, httplib::Response& res) {
  const char* title = "Reminders";
  std::optional<Member> member;
  std::string error;
  if (posted) {
    member = LogIn(form);
    if (!member) error = "Invalid user ID or password.";
  } else if (!Get(form, "user").empty()) {
    member = store_.FindMember(Get(form, "user"));
    if (!member) error = "No member has the user ID \"" + Get(form, "user") + "\".";
  }
  if (member) {
    res.set_content(RenderPage(title, ReminderList(*member)), kHtml);
    return;
  }
  if (!error.empty()) res.status = posted ? 403 : 404;
  res.set_content(RenderPage(title, ErrorList(error.empty() ? std::vector<std::string>{}
                                                            : std::vector<std::string>{error}) +
                                        "<form method=\"post\" action=\"/Reminders.aspx\">\n" +
                                        Field("User ID", "UserId", Get(form, "UserId")) +
                                        Field("Password", "Password", "", "password") +
                                        "<p><button type=\"submit\">Show reminders</button></p>\n</form>\n"),
                  kHtml);
}

void WebPages::Reminder(const Fields& form, httplib::Response& res) {
  const std::string idText = Get(form, "id");
  std::optional<StoredEvent> event;
  if (!idText.empty() && idText.size() < 19 && idText.find_first_not_of("0123456789") == std::string::npos)
    event = store_.FindEvent(std::stoll(idText));
  if (!event) {
    res.status = 404;
    res.set_content(RenderPage("Reminder", ErrorList({"There is no reminder with the id \"" + idText + "\"."})), kHtml);
    return;
  }
  const ReminderData& d = event->data;
  std::string devices;
  for (const Device& device : d.devices) devices += "<li>" + DeviceSummary(device) + "</li>";
  res.set_content(
      RenderPage("Reminder " + std::to_string(event->id),
                 "<table><tr><th>Member</th><td><a href=\"/Reminders.aspx?user=" +
                     EscapeHtml(EncodeQueryValue(event->member)) + "\">" + EscapeHtml(event->member) +
                     "</a></td></tr>\n<tr><th>Event</th><td>" + EscapeHtml(d.eventDateTime) +
                     "</td></tr>\n<tr><th>Subject</th><td>" + EscapeHtml(d.subject) +
                     "</td></tr>\n<tr><th>Description</th><td><pre>" + EscapeHtml(d.description) +
                     "</pre></td></tr>\n<tr><th>Remind at</th><td>" + EscapeHtml(d.remindDateTime) +
                     "</td></tr>\n<tr><th>Devices</th><td><ul>" + devices + "</ul></td></tr></table>\n"),
      kHtml);
}

}  // namespace reminder_service
