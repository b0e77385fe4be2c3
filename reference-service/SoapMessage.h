#pragma once
// The SOAP 1.1 forms the service reads and writes: the request envelope, its elements and
// texts, and the answer and fault envelopes.
#include <pugixml.hpp>

#include <memory>
#include <stdexcept>
#include <string>

namespace reminder_service {

inline constexpr const char* kSoapEnvelopeNamespace = "http://schemas.xmlsoap.org/soap/envelope/";

// A request the service refuses; becomes a fault with this code and text.
class SoapFault : public std::runtime_error {
 public:
  SoapFault(std::string code, const std::string& text) : std::runtime_error(text), code_(std::move(code)) {}
  const std::string& Code() const { return code_; }

 private:
  std::string code_;
};

// Throws a "soap:Client" fault with the text.
[[noreturn]] void RefuseRequest(const std::string& text);

// A parsed request envelope. Texts keep their bytes: CR LF is not normalised, blanks stay.
class SoapRequest {
 public:
  // Parses the body; a client fault when it is not XML, holds a DOCTYPE, or is no SOAP 1.1
  // envelope with one method element in the body.
  explicit SoapRequest(const std::string& body);

  // The method element (first element child of soap:Body).
  pugi::xml_node Method() const { return method_; }
  // Its local name, e.g. "CreateReminder".
  std::string MethodName() const;
  // Its namespace URI, from the nearest declaration in scope.
  std::string MethodNamespace() const;

 private:
  pugi::xml_document doc_;
  pugi::xml_node method_;
};

// Element name without its prefix.
std::string LocalName(pugi::xml_node element);
// Namespace URI of the element: the declaration of its prefix nearest up the tree.
std::string NamespaceOf(pugi::xml_node element);
// First child element with that local name, or an empty node.
pugi::xml_node Child(pugi::xml_node parent, const char* localName);
// Follows a path of local names separated by "/", or an empty node.
pugi::xml_node Path(pugi::xml_node from, const std::string& path);
// The element's own text: its text and CDATA children joined; empty for an empty node.
std::string Text(pugi::xml_node element);

// Escapes "&", "<" and ">" for element text.
std::string EscapeXml(const std::string& text);

// The whole answer envelope around `resultXml` (the method's result element).
std::string AnswerEnvelope(const std::string& method, const std::string& namespaceUri, const std::string& resultXml);
// "<XResult />" for an empty result, else "<XResult>" + innerXml + "</XResult>".
std::string ResultElement(const std::string& method, const std::string& innerXml);
// The whole fault envelope; the text is escaped here.
std::string FaultEnvelope(const std::string& code, const std::string& text);

}  // namespace reminder_service
