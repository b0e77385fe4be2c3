#include "library/records/CalendarEventKeyType.h"

#include "library/records/RecordXml.h"
#include "library/support/XmlText.h"

namespace falcrest {

std::string CalendarEventKeyType::Serialize(const std::string& tag) const {
  return "<" + tag + ">" + XmlElement("UserId", UserId) + XmlElement("EventDateTimeString", EventDateTime) +
         XmlElement("Subject", Subject) + "</" + tag + ">";
}

void CalendarEventKeyType::Deserialize(const std::string& xml) {
  auto doc = records::LoadFragment(xml, "The event key record");
  UserId = records::ReadText(*doc, "UserId");
  EventDateTime = records::ReadText(*doc, "EventDateTimeString");
  Subject = records::ReadText(*doc, "Subject");
}

}  // namespace falcrest
