#pragma once
// The exchange behind WebService::CallWebMethod, for operations that read the result element
// in the parsed answer rather than as text.
#include <string>

#include "library/service/xml/XmlDocument.h"

namespace falcrest {

// What one call answered: a fault with its fault string, an empty answer (the response
// element holds no text), or else the result element, absent when the answer has none
// (reading it then raises the missing-node error).
struct CallAnswer {
  bool fault = false;
  std::string faultString;
  bool empty = false;
  xml::Node result{nullptr, std::string(), std::string()};
};

// Wraps the body in the SOAP envelope, posts it to `url` and reads the answer, as
// CallWebMethod does.
CallAnswer CallService(const std::string& url, const std::string& methodName, const std::string& body);

}  // namespace falcrest
