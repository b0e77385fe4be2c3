#include "library/records/MemberType.h"

#include "library/records/RecordXml.h"
#include "library/support/XmlText.h"

namespace falcrest {

std::string MemberType::Serialize(const std::string& tag) const {
  return "<" + tag + ">" + XmlElement("UserId", UserId) + XmlElement("Password", Password) +
         XmlElement("FirstName", FirstName) + XmlElement("LastName", LastName) +
         XmlElement("SignupEmail", SignupEmail) + XmlElement("TimeZone", TimeZone) + "<Devices>" +
         records::SerializeList(Devices, "Device", "The member's device list") + "</Devices>" + "</" + tag + ">";
}

void MemberType::Deserialize(const std::string& xml) {
  auto doc = records::LoadFragment(xml, "The member record");
  UserId = records::ReadText(*doc, "UserId");
  Password = records::ReadText(*doc, "Password");
  FirstName = records::ReadText(*doc, "FirstName");
  LastName = records::ReadText(*doc, "LastName");
  SignupEmail = records::ReadText(*doc, "SignupEmail");
  TimeZone = records::ReadText(*doc, "TimeZone");
  records::DeserializeList(*doc, "//Devices/Device", Devices);
}

}  // namespace falcrest
