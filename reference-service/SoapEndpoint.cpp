#include "reference-service/SoapEndpoint.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "library/constants/DeviceTypes.h"
#include "library/constants/SystemConst.h"
#include "library/service/ServiceAddress.h"
#include "reference-service/Secrets.h"
#include "reference-service/SoapMessage.h"

namespace reminder_service {

namespace {

const char* const kMethods[] = {"GetOneMemberDevice", "CreateReminder", "GetReminderIds", "DeleteReminderByEventId",
                                "ModifyReminderByEventId"};

bool IsKnownMethod(const std::string& name) {
  for (const char* m : kMethods)
    if (name == m) return true;
  return false;
}

bool IsDeviceTypeName(const std::string& name) {
  for (const char* t : falcrest::kDeviceTypeNames)
    if (name == t) return true;
  return false;
}

std::string DeviceTypeList() {
  std::string list;
  for (const char* t : falcrest::kDeviceTypeNames) list += (list.empty() ? "" : ", ") + std::string(t);
  return list;
}

// A whole decimal number, optionally negative; nothing else around it.
std::optional<int64_t> ParseId(const std::string& text) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  for (size_t i = 0; i < text.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i])) && !(i == 0 && text[i] == '-' && text.size() > 1))
      return std::nullopt;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE) return std::nullopt;
  return value;
}

std::string StripQuotes(const std::string& value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

pugi::xml_node RequiredParameter(pugi::xml_node method, const char* name) {
  pugi::xml_node node = Child(method, name);
  if (!node) RefuseRequest("The request has no " + std::string(name) + " element");
  return node;
}

// Reads a reminder element; returns the text the client shows when it cannot be used.
std::string ReadReminder(pugi::xml_node reminder, const std::string& licenseUser, ReminderData& out) {
  const pugi::xml_node event = Child(reminder, "Event");
  if (!event) return "The reminder has no Event element";
  const pugi::xml_node user = Child(reminder, "User");
  if (!user) return "The reminder has no User element";
  const std::string userId = Text(Child(user, "UserId"));
  if (userId != licenseUser)
    return "The reminder's user \"" + userId + "\" is not the member \"" + licenseUser + "\" of the license";

  out.eventDateTime = Text(Child(event, "EventDateTimeString"));
  out.subject = Text(Child(event, "Subject"));
  out.description = Text(Child(event, "Description"));
  out.remindDateTime = Text(Child(reminder, "RemindDateTime"));
  if (out.remindDateTime.empty()) return "The reminder has no remind date-time";

  for (pugi::xml_node d = Child(user, "Devices").first_child(); d; d = d.next_sibling()) {
    if (d.type() != pugi::node_element || LocalName(d) != "Device") continue;
    Device device;
    device.type = Text(Child(d, "DeviceType"));
    device.address = Text(Child(d, "DeviceAddress"));
    device.provider = Text(Child(d, "ServiceProviderName"));
    if (!IsDeviceTypeName(device.type))
      return "Unknown device type \"" + device.type + "\"; the device types are " + DeviceTypeList();
    out.devices.push_back(device);
  }
  if (out.devices.empty()) return "The reminder has no device to deliver it to";
  return std::string();
}

Member CheckLicense(ReminderStore& store, pugi::xml_node method) {
  const pugi::xml_node license = Child(method, "license");
  if (!license) RefuseRequest("The request has no license element");
  const falcrest::SystemConst client;
  const std::string clientName = Text(Child(license, "ClientName"));
  if (clientName != client.Name()) RefuseRequest("Unknown client \"" + clientName + "\"");
  const std::string programName = Text(Child(license, "ClientProgramName"));
  if (programName != client.ProgramName()) RefuseRequest("Unknown client program \"" + programName + "\"");

  const std::optional<Member> member = store.FindMember(Text(Child(license, "UserId")));
  std::string password = Text(Child(license, "Password"));
  // A hex digest is the same digest in either letter case; the stored one is upper case.
  for (char& c : password) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (!member || !SameText(password, member->passwordDigest)) RefuseRequest("Invalid user ID or password");
  return *member;
}

std::string Element(const char* name, const std::string& text) {
  return std::string("<") + name + ">" + EscapeXml(text) + "</" + name + ">";
}

}  // namespace

SoapReply SoapEndpoint::Handle(const SoapCall& call) {
  const std::string ns = falcrest::kServiceNamespace;
  try {
    SoapRequest request(call.body);
    const std::string method = request.MethodName();
    if (!IsKnownMethod(method)) RefuseRequest("Unknown web method \"" + method + "\"");
    if (request.MethodNamespace() != ns)
      RefuseRequest("The method element " + method + " must carry the namespace " + ns);
    if (call.soapAction) {
      const std::string action = StripQuotes(*call.soapAction);
      if (!action.empty() && action != ns + method)
        RefuseRequest("The SOAPAction header \"" + action + "\" does not match the web method " + method);
    }
    const Member member = CheckLicense(store_, request.Method());
    const std::string result = Dispatch(method, request.Method(), member, call.host);
    return SoapReply{200, AnswerEnvelope(method, ns, result)};
  } catch (const SoapFault& fault) {
    return SoapReply{500, FaultEnvelope(fault.Code(), fault.what())};
  } catch (const std::exception& e) {
    return SoapReply{500, FaultEnvelope("soap:Server", std::string("The service failed: ") + e.what())};
  }
}

std::string SoapEndpoint::Dispatch(const std::string& method, pugi::xml_node element, const Member& member,
                                   const std::string& host) {
  const std::string& user = member.userId;

  if (method == "GetOneMemberDevice") {
    const std::string type = Text(RequiredParameter(element, "deviceType"));
    const std::optional<Device> device = store_.FindDevice(user, type);
    if (!device) return ResultElement(method, "");
    return ResultElement(method, Element("DeviceId", std::to_string(device->id)) + Element("DeviceType", device->type) +
                                     Element("DeviceAddress", device->address) +
                                     Element("ServiceProviderName", device->provider) +
                                     "<Selected>false</Selected><LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime>"
                                     "<DeliveryStatus></DeliveryStatus><ExtendStatus></ExtendStatus>");
  }

  if (method == "CreateReminder") {
    ReminderData data;
    const std::string error = ReadReminder(RequiredParameter(element, "reminder"), user, data);
    std::string url;
    // The link names the event by its token, so neither it nor a guess shows another's reminder.
    if (error.empty()) url = "http://" + host + "/Reminder.aspx?id=" + store_.AddEvent(user, data).detailToken;
    return ResultElement(method, Element("ErrorMessage", error) + Element("ReminderDetailUrl", url));
  }

  if (method == "GetReminderIds") {
    const pugi::xml_node key = RequiredParameter(element, "eventKey");
    // The key may only name the licensed member's own events.
    if (Text(Child(key, "UserId")) != user) return ResultElement(method, "");
    std::string ids;
    for (int64_t id : store_.FindEvents(user, Text(Child(key, "EventDateTimeString")), Text(Child(key, "Subject"))))
      ids += "<int>" + std::to_string(id) + "</int>";
    return ResultElement(method, ids);
  }

  if (method == "DeleteReminderByEventId") {
    const std::string text = Text(RequiredParameter(element, "eventId"));
    const std::optional<int64_t> id = ParseId(text);
    if (!id) RefuseRequest("The eventId \"" + text + "\" is not a whole number");
    return ResultElement(method, std::to_string(store_.DeleteEvent(user, *id)));
  }

  // ModifyReminderByEventId: a fault would read as success to the client, so every problem
  // with the reminder itself is answered as a message text.
  const pugi::xml_node reminder = RequiredParameter(element, "reminder");
  const std::string idText = Text(Path(reminder, "Event/EventId"));
  ReminderData data;
  std::string error = ReadReminder(reminder, user, data);
  const std::optional<int64_t> id = ParseId(idText);
  if (error.empty() && (!id || !store_.ReplaceEvent(user, *id, data)))
    error = "No reminder with event id " + idText;
  return ResultElement(method, EscapeXml(error));
}

}  // namespace reminder_service
