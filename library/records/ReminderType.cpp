#include "library/records/ReminderType.h"

#include "library/records/RecordXml.h"
#include "library/support/XmlText.h"

namespace falcrest {

std::string ReminderType::Serialize(const std::string& tag) const {
  std::string contacts = records::SerializeList(Contacts, "Contact", "The reminder's contact list");
  std::string event = EventPropty ? EventPropty->Serialize("Event") : "";
  std::string member = User ? User->Serialize("User") : "";
  return "<" + tag + ">" + event + XmlElement("RemindDateTime", RemindDateTime) + member + "<Contacts>" + contacts +
         "</Contacts>" + "</" + tag + ">";
}

void ReminderType::Deserialize(const std::string& xml) {
  auto doc = records::LoadFragment(xml, "The reminder record");
  EventPropty = std::make_shared<CalendarEventType>();
  EventPropty->Deserialize(doc->SelectSingleNode("//Event").Xml());
  RemindDateTime = records::ReadText(*doc, "RemindDateTime");
  // The member is the caller's own account; the service's copy of it is not read.
  records::DeserializeList(*doc, "//Contacts/Contact", Contacts);
}

}  // namespace falcrest
