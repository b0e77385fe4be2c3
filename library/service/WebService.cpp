// CallService and CallWebMethod: the SOAP 1.1 envelope around a method body, one POST, and
// the reading of the answer as a fault, a result or an empty answer.
#include "library/service/WebService.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "library/service/ServiceAddress.h"
#include "library/service/WebServiceCall.h"
#include "library/service/http/HttpRequest.h"
#include "library/service/http/ResponseText.h"
#include "library/service/xml/XmlDocument.h"

namespace falcrest {
namespace {

constexpr const char* kEnvelopeStart =
    "<?xml version='1.0' encoding='utf-8'?>"
    "<soap:Envelope xmlns:soap='http://schemas.xmlsoap.org/soap/envelope/'"
    " xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'"
    " xmlns:xsd='http://www.w3.org/2001/XMLSchema'>"
    "<soap:Body>";
constexpr const char* kEnvelopeEnd = "</soap:Body></soap:Envelope>";

constexpr const char* kFaultMarker = "<SOAP:FAULT>";
constexpr const char* kFaultStringPath = "/soap:Envelope/soap:Body/soap:Fault/faultstring";
constexpr const char* kBodyPath = "/soap:Envelope/soap:Body/";

// A plain substring test on the upper-cased text: any letter case of "<soap:Fault>" counts,
// another prefix or an attribute in the start tag does not. Services rely on exactly this.
// Compared in place, without an upper-cased copy of the whole answer.
bool IsFault(const std::string& raw) {
  const auto sameUpper = [](char c, char upper) {
    return (c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) == upper;
  };
  const char* marker = kFaultMarker;
  return std::search(raw.begin(), raw.end(), marker, marker + std::strlen(marker), sameUpper) != raw.end();
}

}  // namespace

CallAnswer CallService(const std::string& url, const std::string& methodName, const std::string& body) {
  std::string envelope;
  envelope.reserve(std::char_traits<char>::length(kEnvelopeStart) + body.size() +
                   std::char_traits<char>::length(kEnvelopeEnd));
  envelope.append(kEnvelopeStart).append(body).append(kEnvelopeEnd);

  std::unique_ptr<http::Request> request = http::NewRequest();
  request->Open("POST", url);
  request->SetRequestHeader("Content-Type", "text/xml");
  request->SetRequestHeader("SOAPAction", kServiceNamespace + methodName);
  // The status is deliberately not looked at: a fault comes with 500, an error page is
  // caught below as a missing response element.
  http::Response answer = request->Send(envelope);
  const std::string text = http::ResponseText(std::move(answer.body), answer.content_type);

  std::unique_ptr<xml::Document> document = xml::NewDocument("The reminder service's answer");
  document->LoadXml(text);

  CallAnswer out;
  if (IsFault(text)) {
    out.faultString = document->SelectText(kFaultStringPath);
    out.fault = true;
    return out;
  }

  // The response element's path, then the result element's below it, in one string.
  std::string path;
  path.reserve(std::char_traits<char>::length(kBodyPath) + 2 * methodName.size() + 16);
  path.append(kBodyPath).append(methodName).append("Response");
  if (!document->SelectSingleNode(path).HasText()) {
    out.empty = true;
    return out;
  }
  path.append("/").append(methodName).append("Result");
  out.result = document->SelectSingleNode(path);
  return out;
}

bool WebService::CallWebMethod(const std::string& methodName, const std::string& body, std::string& response) {
  CallAnswer answer = CallService(WebServiceURL, methodName, body);
  if (answer.fault) {
    response = std::move(answer.faultString);
    return false;
  }
  response = answer.empty ? std::string() : answer.result.Xml();
  return true;
}

}  // namespace falcrest
