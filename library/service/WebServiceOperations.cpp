// The five operations of the reminder service: each builds its method body, calls
// CallWebMethod, and turns a fault or an empty answer into its fixed empty result.
#include <memory>
#include <string>

#include "library/records/RecordNodes.h"
#include "library/records/RecordXml.h"
#include "library/service/ServiceAddress.h"
#include "library/service/WebService.h"
#include "library/service/WebServiceCall.h"
#include "library/service/xml/XmlDocument.h"
#include "library/support/Numbers.h"
#include "library/support/XmlText.h"

namespace falcrest {
namespace {

// "<Method xmlns='namespace'>" + parameters + "</Method>", nothing between the pieces.
std::string MethodBody(const std::string& method, const std::string& parameters) {
  std::string body;
  body.reserve(2 * method.size() + parameters.size() + 64);
  body.append("<").append(method).append(" xmlns='").append(kServiceNamespace).append("'>");
  body.append(parameters).append("</").append(method).append(">");
  return body;
}

// A fault (false) and an empty answer lead to the same empty result.
bool Answered(bool normal, const std::string& response) { return normal && !response.empty(); }

std::unique_ptr<xml::Document> LoadAnswer(const std::string& method, const std::string& response) {
  std::unique_ptr<xml::Document> document = xml::NewDocument("The reminder service's " + method + " answer");
  document->LoadXml(response);
  return document;
}

}  // namespace

std::shared_ptr<DeviceType> WebService::GetOneMemberDevice(const LicenseType& license,
                                                           const std::string& deviceTypeName) {
  const std::string method = "GetOneMemberDevice";
  // The device is read from the answer's result element where it lies, not from its text.
  std::string parameters = license.Serialize("license");
  records::AppendElement(parameters, "deviceType", deviceTypeName);
  const CallAnswer answer = CallService(WebServiceURL, method, MethodBody(method, parameters));
  if (answer.fault || answer.empty) return nullptr;
  auto device = std::make_shared<DeviceType>();
  records::DeserializeDevice(answer.result, *device);
  return device;
}

std::shared_ptr<ResultType> WebService::CreateReminder(const LicenseType& license, const ReminderType& reminder) {
  const std::string method = "CreateReminder";
  std::string response;
  bool normal = CallWebMethod(
      method, MethodBody(method, license.Serialize("license") + reminder.Serialize("reminder")), response);
  if (!Answered(normal, response)) return nullptr;
  auto result = std::make_shared<ResultType>();
  result->Deserialize(response);
  return result;
}

int32_t WebService::GetReminderIds(const LicenseType& license, const CalendarEventKeyType& eventKey) {
  const std::string method = "GetReminderIds";
  std::string response;
  bool normal = CallWebMethod(
      method, MethodBody(method, license.Serialize("license") + eventKey.Serialize("eventKey")), response);
  if (!Answered(normal, response)) return -1;
  // Only the first id in document order is wanted; later ones are not read.
  return ToInt32(LoadAnswer(method, response)->SelectText("//int"), "The remote event id");
}

int32_t WebService::DeleteReminderByEventId(const LicenseType& license, int32_t EventId) {
  const std::string method = "DeleteReminderByEventId";
  std::string response;
  bool normal = CallWebMethod(
      method, MethodBody(method, license.Serialize("license") + XmlElement("eventId", std::to_string(EventId))),
      response);
  if (!Answered(normal, response)) return -1;
  return ToInt32(LoadAnswer(method, response)->Text(), "The reminder service's answer to the delete");
}

std::string WebService::ModifyReminderByEventId(const LicenseType& license, const ReminderType& reminder) {
  const std::string method = "ModifyReminderByEventId";
  std::string response;
  bool normal = CallWebMethod(
      method, MethodBody(method, license.Serialize("license") + reminder.Serialize("reminder")), response);
  if (!Answered(normal, response)) return "";
  return LoadAnswer(method, response)->Text();
}

}  // namespace falcrest
