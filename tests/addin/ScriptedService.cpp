#include "ScriptedService.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>

namespace addin_test {

namespace {

constexpr const char* kNamespace = "http://reminder.tarvanel.com/";

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else out += c;
  }
  return out;
}

std::string Envelope(const std::string& inner) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
         "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>" +
         inner + "</soap:Body></soap:Envelope>";
}

}  // namespace

std::string ElementText(const std::string& xml, const std::string& tag) {
  const std::string open = "<" + tag + ">";
  size_t start = xml.find(open);
  if (start == std::string::npos) return "(no " + tag + ")";
  start += open.size();
  size_t end = xml.find("</" + tag + ">", start);
  return xml.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

size_t CountElements(const std::string& xml, const std::string& tag) {
  size_t count = 0;
  const std::string open = "<" + tag + ">";
  for (size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) ++count;
  return count;
}

ScriptedService::ScriptedService() : server_(std::make_unique<httplib::Server>()) {
  // One request per connection: a connection kept alive would hold up stopping the server
  // until its keep-alive time ran out.
  server_->set_keep_alive_max_count(1);
  server_->Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
    std::string action = req.get_header_value("SOAPAction");
    const std::string prefix = kNamespace;
    if (action.compare(0, prefix.size(), prefix) == 0) action.erase(0, prefix.size());
    int status = 200;
    std::string answer = Answer(action, req.body, status);
    res.status = status;
    res.set_content(answer, status == 200 || status == 500 ? "text/xml; charset=utf-8" : "text/html");
  });
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("ScriptedService: no free port on 127.0.0.1");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // A stop that comes before the loop runs would be lost, and the join would never return.
  while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

ScriptedService::~ScriptedService() {
  server_->stop();
  thread_.join();
}

std::string ScriptedService::Url() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/WebService/OutlookPlugin.asmx";
}

void ScriptedService::SetDevice(const std::string& type, const std::string& address, const std::string& provider) {
  std::lock_guard<std::mutex> lock(mutex_);
  devices_[type] = Device{address, provider};
}

void ScriptedService::RemoveDevice(const std::string& type) {
  std::lock_guard<std::mutex> lock(mutex_);
  devices_.erase(type);
}

void ScriptedService::SetReminderId(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  reminder_id_ = id;
}

void ScriptedService::SetCreateError(const std::string& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  create_error_ = text;
}

void ScriptedService::SetModifyText(const std::string& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  modify_text_ = text;
}

void ScriptedService::SetMode(const std::string& method, Mode mode) {
  std::lock_guard<std::mutex> lock(mutex_);
  modes_[method] = mode;
}

std::vector<ServiceCall> ScriptedService::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

std::vector<std::string> ScriptedService::Methods() const {
  std::vector<std::string> methods;
  for (const ServiceCall& call : Calls()) methods.push_back(call.method);
  return methods;
}

std::vector<ServiceCall> ScriptedService::CallsOf(const std::string& method) const {
  std::vector<ServiceCall> calls;
  for (const ServiceCall& call : Calls()) {
    if (call.method == method) calls.push_back(call);
  }
  return calls;
}

void ScriptedService::ClearCalls() {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.clear();
}

std::string ScriptedService::Answer(const std::string& method, const std::string& body, int& status) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back({method, body});
  const auto mode = modes_.find(method);
  switch (mode == modes_.end() ? Mode::kNormal : mode->second) {
    case Mode::kFault:
      status = 500;
      return Envelope(
          "<soap:Fault><faultcode>soap:Server</faultcode><faultstring>Server was unable to process request."
          "</faultstring></soap:Fault>");
    case Mode::kEmpty:
      return Envelope("<" + method + "Response xmlns=\"" + kNamespace + "\"><" + method + "Result /></" + method +
                      "Response>");
    case Mode::kBroken:
      status = 502;
      return "<html><body>Bad Gateway</body></html>";
    case Mode::kNormal:
      break;
  }
  return Envelope("<" + method + "Response xmlns=\"" + kNamespace + "\"><" + method + "Result>" +
                  Result(method, body) + "</" + method + "Result></" + method + "Response>");
}

std::string ScriptedService::Result(const std::string& method, const std::string& body) {
  if (method == "GetOneMemberDevice") {
    const std::string type = ElementText(body, "deviceType");
    const auto device = devices_.find(type);
    if (device == devices_.end()) return "";
    return "<DeviceId>" + std::to_string(1 + std::distance(devices_.begin(), device)) + "</DeviceId><DeviceType>" +
           Escape(type) + "</DeviceType><DeviceAddress>" + Escape(device->second.address) +
           "</DeviceAddress><ServiceProviderName>" + Escape(device->second.provider) +
           "</ServiceProviderName><Selected>false</Selected><LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime>"
           "<DeliveryStatus /><ExtendStatus />";
  }
  if (method == "GetReminderIds") return reminder_id_ < 0 ? "" : "<int>" + std::to_string(reminder_id_) + "</int>";
  if (method == "CreateReminder") {
    return "<ErrorMessage>" + Escape(create_error_) +
           "</ErrorMessage><ReminderDetailUrl>http://127.0.0.1/Reminder.aspx?id=1</ReminderDetailUrl>";
  }
  if (method == "ModifyReminderByEventId") return Escape(modify_text_);
  if (method == "DeleteReminderByEventId") return "1";
  return "";
}

}  // namespace addin_test
