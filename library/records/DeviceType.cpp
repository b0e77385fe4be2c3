#include "library/records/DeviceType.h"

#include "library/records/RecordNodes.h"
#include "library/records/RecordXml.h"
#include "library/support/DateTime.h"
#include "library/support/XmlText.h"

namespace falcrest {

std::string DeviceType::Serialize(const std::string& tag) const {
  // The service ignores the delivery time sent to it; its own zero value always goes out.
  return "<" + tag + ">" + "<DeviceId>" + std::to_string(DeviceId) + "</DeviceId>" +
         XmlElement("DeviceType", DeviceType) + XmlElement("DeviceAddress", DeviceAddress) +
         XmlElement("ServiceProviderName", ServiceProviderName) + "<Selected>" + (Selected ? "true" : "false") +
         "</Selected>" + "<LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime>" +
         XmlElement("DeliveryStatus", DeliveryStatus) + XmlElement("ExtendStatus", ExtendStatus) + "</" + tag + ">";
}

namespace {

const char* const kContext = "The device record";

void Read(const xml::Document& doc, DeviceType& device) {
  records::ReadGuardedInt32(doc, "DeviceId", device.DeviceId, "The device");
  device.DeviceType = records::ReadText(doc, "DeviceType");
  device.DeviceAddress = records::ReadText(doc, "DeviceAddress");
  device.ServiceProviderName = records::ReadText(doc, "ServiceProviderName");
  device.Selected = records::ToBoolean(records::ReadText(doc, "Selected"), "The device's Selected value");
  LocalDateTime lastDelivery;
  if (TryParseDateTime(records::ReadText(doc, "LastDeliveryTime"), lastDelivery))
    device.LastDeliveryTime = ToOleDate(lastDelivery);
  // DeliveryStatus and ExtendStatus belong to the service; they are not read back.
}

}  // namespace

void DeviceType::Deserialize(const std::string& xml) { Read(*records::LoadFragment(xml, kContext), *this); }

void records::DeserializeDevice(const xml::Node& element, DeviceType& device) {
  Read(*element.Fragment(kContext), device);
}

}  // namespace falcrest
