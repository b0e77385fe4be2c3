#pragma once
// The service credentials sent first with every call.
#include <string>

namespace falcrest {

struct LicenseType {
  std::string UserId;
  std::string Password;  // upper-case MD5 text of the plain password
  std::string ClientName;
  std::string ClientProgramName;

  // True when all four texts are non-empty.
  bool IsValid() const;
  std::string Serialize(const std::string& tag = "License") const;
  // Reads only UserId, as a 32-bit number back to decimal text; type mismatch (13) otherwise.
  void Deserialize(const std::string& xml);
};

}  // namespace falcrest
