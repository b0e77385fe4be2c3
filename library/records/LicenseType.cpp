#include "library/records/LicenseType.h"

#include "library/records/RecordXml.h"
#include "library/support/Numbers.h"
#include "library/support/XmlText.h"

namespace falcrest {

bool LicenseType::IsValid() const {
  return !UserId.empty() && !Password.empty() && !ClientName.empty() && !ClientProgramName.empty();
}

std::string LicenseType::Serialize(const std::string& tag) const {
  return "<" + tag + ">" + XmlElement("UserId", UserId) + XmlElement("Password", Password) +
         XmlElement("ClientName", ClientName) + XmlElement("ClientProgramName", ClientProgramName) + "</" + tag +
         ">";
}

void LicenseType::Deserialize(const std::string& xml) {
  auto doc = records::LoadFragment(xml, "The license record");
  // The user ID is a number on the service: "007" and " 7" both come back as "7".
  UserId = std::to_string(ToInt32(records::ReadText(*doc, "UserId"), "The license's user ID"));
}

}  // namespace falcrest
