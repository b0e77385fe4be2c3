#include "library/records/LicenseType.h"

#include "library/records/RecordXml.h"
#include "library/support/Numbers.h"

namespace falcrest {

bool LicenseType::IsValid() const {
  return !UserId.empty() && !Password.empty() && !ClientName.empty() && !ClientProgramName.empty();
}

std::string LicenseType::Serialize(const std::string& tag) const {
  // Written into one string: the license goes out with every call.
  std::string out;
  out.reserve(2 * tag.size() + UserId.size() + Password.size() + ClientName.size() + ClientProgramName.size() + 128);
  out.append("<").append(tag).append(">");
  records::AppendElement(out, "UserId", UserId);
  records::AppendElement(out, "Password", Password);
  records::AppendElement(out, "ClientName", ClientName);
  records::AppendElement(out, "ClientProgramName", ClientProgramName);
  out.append("</").append(tag).append(">");
  return out;
}

void LicenseType::Deserialize(const std::string& xml) {
  auto doc = records::LoadFragment(xml, "The license record");
  // The user ID is a number on the service: "007" and " 7" both come back as "7".
  UserId = std::to_string(ToInt32(records::ReadText(*doc, "UserId"), "The license's user ID"));
}

}  // namespace falcrest
