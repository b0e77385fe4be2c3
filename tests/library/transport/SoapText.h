#pragma once
// Texts shared by the transport tests: the request envelope and answers as a service writes them.
#include <string>

namespace falcrest::test {

inline const std::string kRequestHead =
    "<?xml version='1.0' encoding='utf-8'?><soap:Envelope "
    "xmlns:soap='http://schemas.xmlsoap.org/soap/envelope/' "
    "xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' "
    "xmlns:xsd='http://www.w3.org/2001/XMLSchema'><soap:Body>";
inline const std::string kRequestTail = "</soap:Body></soap:Envelope>";

// An answer envelope around `inner`, with the usual declarations of a .NET service.
inline std::string SoapAnswer(const std::string& inner) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
         "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>" +
         inner + "</soap:Body></soap:Envelope>";
}

// "<MethodResponse xmlns=...><MethodResult>" + result + "</MethodResult></MethodResponse>".
inline std::string ResultAnswer(const std::string& method, const std::string& result) {
  return SoapAnswer("<" + method + "Response xmlns=\"http://reminder.tarvanel.com/\"><" + method + "Result>" +
                    result + "</" + method + "Result></" + method + "Response>");
}

inline std::string FaultAnswer(const std::string& faultstring) {
  return SoapAnswer("<soap:Fault><faultcode>soap:Server</faultcode><faultstring>" + faultstring +
                    "</faultstring><detail /></soap:Fault>");
}

}  // namespace falcrest::test
