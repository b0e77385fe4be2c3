#pragma once
// The web service endpoint: reads one SOAP request, checks its license, runs the web method
// on the store and writes the answer or the fault.
#include <pugixml.hpp>

#include <optional>
#include <string>

#include "reference-service/ReminderStore.h"

namespace reminder_service {

struct SoapCall {
  std::string body;
  std::optional<std::string> soapAction;  // the header's value, when the header was sent
  std::string host;                       // host[:port] the client reached, for detail URLs
};

struct SoapReply {
  int status = 200;  // 500 for faults
  std::string body;
  static constexpr const char* kContentType = "text/xml; charset=utf-8";
};

class SoapEndpoint {
 public:
  explicit SoapEndpoint(ReminderStore& store) : store_(store) {}

  // Never throws: every failure becomes a fault answer.
  SoapReply Handle(const SoapCall& call);

 private:
  std::string Dispatch(const std::string& method, pugi::xml_node element, const Member& member,
                       const std::string& host);

  ReminderStore& store_;
};

}  // namespace reminder_service
