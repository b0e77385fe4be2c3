#include "library/records/ContactType.h"

#include "library/records/RecordXml.h"
#include "library/support/XmlText.h"

namespace falcrest {

std::string ContactType::Serialize(const std::string& tag) const {
  return "<" + tag + ">" + "<ContactId>" + std::to_string(ContactId) + "</ContactId>" +
         XmlElement("FullName", FullName) + XmlElement("Title", Title) + XmlElement("FirstName", FirstName) +
         XmlElement("MiddleName", MiddleName) + XmlElement("LastName", LastName) +
         XmlElement("AddressLine1", AddressLine1) + XmlElement("AddressLine2", AddressLine2) +
         XmlElement("City", City) + XmlElement("State", state) + XmlElement("ZipCode", ZipCode) + "<Devices>" +
         records::SerializeList(Devices, "Device", "The contact's device list") + "</Devices>" + "</" + tag + ">";
}

void ContactType::Deserialize(const std::string& xml) {
  auto doc = records::LoadFragment(xml, "The contact record");
  records::ReadGuardedInt32(*doc, "ContactId", ContactId, "The contact");
  FullName = records::ReadText(*doc, "FullName");
  Title = records::ReadText(*doc, "Title");
  FirstName = records::ReadText(*doc, "FirstName");
  MiddleName = records::ReadText(*doc, "MiddleName");
  LastName = records::ReadText(*doc, "LastName");
  AddressLine1 = records::ReadText(*doc, "AddressLine1");
  AddressLine2 = records::ReadText(*doc, "AddressLine2");
  City = records::ReadText(*doc, "City");
  state = records::ReadText(*doc, "State");
  // ZipCode is written but never read back.
  records::DeserializeList(*doc, "//Devices/Device", Devices);
}

}  // namespace falcrest
