#pragma once
// Text values placed into XML fragments and SOAP bodies.
#include <string>

namespace falcrest {

// Escapes "&", "<" and ">" so that no value can add or change an element; the parser
// gives the original text back.
std::string EscapeXml(const std::string& text);

// "<name>" + escaped text + "</name>".
std::string XmlElement(const std::string& name, const std::string& text);

}  // namespace falcrest
