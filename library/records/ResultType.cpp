#include "library/records/ResultType.h"

#include "library/records/RecordXml.h"
#include "library/support/XmlText.h"

namespace falcrest {

std::string ResultType::Serialize(const std::string& tag) const {
  return "<" + tag + ">" + XmlElement("ErrorMessage", ErrorMessage) +
         XmlElement("ReminderDetailUrl", ReminderDetailUrl) + "</" + tag + ">";
}

void ResultType::Deserialize(const std::string& xml) {
  auto doc = records::LoadFragment(xml, "The result record");
  // The service leaves out what it has nothing to say about; a missing element is no error.
  xml::Node error = doc->SelectSingleNode("//ErrorMessage");
  if (error.Exists()) ErrorMessage = error.Text();
  xml::Node url = doc->SelectSingleNode("//ReminderDetailUrl");
  if (url.Exists()) ReminderDetailUrl = url.Text();
}

}  // namespace falcrest
