#include "reference-service/SoapMessage.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace reminder_service {

namespace {

const char* const kEnvelopeStart =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>";
const char* const kEnvelopeEnd = "</soap:Body></soap:Envelope>";

bool HasDoctype(const pugi::xml_document& doc) {
  for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling())
    if (n.type() == pugi::node_doctype) return true;
  return false;
}

bool ContainsNoCase(const std::string& text, const char* needle) {
  const auto it = std::search(text.begin(), text.end(), needle, needle + std::strlen(needle),
                              [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
  return it != text.end();
}

pugi::xml_node FirstElement(pugi::xml_node parent) {
  for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling())
    if (n.type() == pugi::node_element) return n;
  return pugi::xml_node();
}

}  // namespace

void RefuseRequest(const std::string& text) { throw SoapFault("soap:Client", text); }

SoapRequest::SoapRequest(const std::string& body) {
  // A document type could declare entities; the protocol never needs one.
  if (ContainsNoCase(body, "<!DOCTYPE") || ContainsNoCase(body, "<!ENTITY"))
    RefuseRequest("The request holds a document type declaration, which the service does not accept");
  // No parse_eol: texts keep their CR LF exactly; parse_ws_pcdata keeps texts made of blanks.
  const unsigned options = pugi::parse_escapes | pugi::parse_cdata | pugi::parse_ws_pcdata | pugi::parse_doctype;
  const pugi::xml_parse_result parsed = doc_.load_buffer(body.data(), body.size(), options, pugi::encoding_utf8);
  if (!parsed)
    RefuseRequest("The request is not well-formed XML: " + std::string(parsed.description()) + " at offset " +
                  std::to_string(parsed.offset));
  if (HasDoctype(doc_)) RefuseRequest("The request holds a document type declaration, which the service does not accept");

  const pugi::xml_node envelope = doc_.document_element();
  if (LocalName(envelope) != "Envelope" || NamespaceOf(envelope) != kSoapEnvelopeNamespace)
    RefuseRequest("The request is not a SOAP 1.1 envelope");
  pugi::xml_node body_element;
  for (pugi::xml_node n = envelope.first_child(); n; n = n.next_sibling())
    if (n.type() == pugi::node_element && LocalName(n) == "Body" && NamespaceOf(n) == kSoapEnvelopeNamespace)
      body_element = n;
  if (!body_element) RefuseRequest("The SOAP envelope has no Body element");
  method_ = FirstElement(body_element);
  if (!method_) RefuseRequest("The SOAP body names no web method");
}

std::string SoapRequest::MethodName() const { return LocalName(method_); }
std::string SoapRequest::MethodNamespace() const { return NamespaceOf(method_); }

std::string LocalName(pugi::xml_node element) {
  const char* name = element.name();
  const char* colon = std::strchr(name, ':');
  return colon ? std::string(colon + 1) : std::string(name);
}

std::string NamespaceOf(pugi::xml_node element) {
  const std::string name = element.name();
  const size_t colon = name.find(':');
  const std::string attribute = colon == std::string::npos ? "xmlns" : "xmlns:" + name.substr(0, colon);
  for (pugi::xml_node n = element; n && n.type() == pugi::node_element; n = n.parent())
    if (pugi::xml_attribute a = n.attribute(attribute.c_str())) return a.value();
  return std::string();
}

pugi::xml_node Child(pugi::xml_node parent, const char* localName) {
  for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling())
    if (n.type() == pugi::node_element && LocalName(n) == localName) return n;
  return pugi::xml_node();
}

pugi::xml_node Path(pugi::xml_node from, const std::string& path) {
  size_t start = 0;
  while (from && start <= path.size()) {
    const size_t slash = path.find('/', start);
    const std::string step = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    from = Child(from, step.c_str());
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return from;
}

std::string Text(pugi::xml_node element) {
  std::string text;
  for (pugi::xml_node n = element.first_child(); n; n = n.next_sibling())
    if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) text += n.value();
  return text;
}

std::string EscapeXml(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string ResultElement(const std::string& method, const std::string& innerXml) {
  const std::string name = method + "Result";
  if (innerXml.empty()) return "<" + name + " />";
  return "<" + name + ">" + innerXml + "</" + name + ">";
}

std::string AnswerEnvelope(const std::string& method, const std::string& namespaceUri, const std::string& resultXml) {
  return std::string(kEnvelopeStart) + "<" + method + "Response xmlns=\"" + EscapeXml(namespaceUri) + "\">" +
         resultXml + "</" + method + "Response>" + kEnvelopeEnd;
}

std::string FaultEnvelope(const std::string& code, const std::string& text) {
  return std::string(kEnvelopeStart) + "<soap:Fault><faultcode>" + EscapeXml(code) + "</faultcode><faultstring>" +
         EscapeXml(text) + "</faultstring></soap:Fault>" + kEnvelopeEnd;
}

}  // namespace reminder_service
