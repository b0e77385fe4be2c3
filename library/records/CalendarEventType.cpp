#include "library/records/CalendarEventType.h"

#include "library/records/RecordXml.h"
#include "library/support/XmlText.h"

namespace falcrest {

namespace {
const char* const kOwner = "The calendar event";
}  // namespace

std::string CalendarEventType::Serialize(const std::string& tag) const {
  return "<" + tag + ">" + "<EventId>" + std::to_string(EventId) + "</EventId>" + "<ExternalId>" +
         std::to_string(ExternalId) + "</ExternalId>" + XmlElement("EventDateTimeString", EventDateTime) +
         XmlElement("Subject", Subject) + XmlElement("Description", Description) +
         XmlElement("RepeatOption", RepeatOption) + XmlElement("RepeatEndDate", RepeatEndDate) + "</" + tag + ">";
}

void CalendarEventType::Deserialize(const std::string& xml) {
  auto doc = records::LoadFragment(xml, "The calendar event record");
  records::ReadGuardedInt32(*doc, "EventId", EventId, kOwner);
  records::ReadGuardedInt32(*doc, "ExternalId", ExternalId, kOwner);
  EventDateTime = records::ReadText(*doc, "EventDateTimeString");
  Subject = records::ReadText(*doc, "Subject");
  Description = records::ReadText(*doc, "Description");
  // Nothing interprets the repeat fields; they are kept as the service wrote them.
  RepeatOption = records::ReadText(*doc, "RepeatOption");
  RepeatEndDate = records::ReadText(*doc, "RepeatEndDate");
}

}  // namespace falcrest
