#pragma once
// Answers as a reminder service writes them, for the misbehaving server to send or break.
#include <string>

namespace faults {

inline std::string Envelope(const std::string& inner) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
         "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>" +
         inner + "</soap:Body></soap:Envelope>";
}

// The method's response element holding `result` in its result element.
inline std::string Result(const std::string& method, const std::string& result) {
  return Envelope("<" + method + "Response xmlns=\"http://reminder.tarvanel.com/\"><" + method + "Result>" + result +
                  "</" + method + "Result></" + method + "Response>");
}

inline std::string Fault(const std::string& faultstring) {
  return Envelope("<soap:Fault><faultcode>soap:Server</faultcode><faultstring>" + faultstring +
                  "</faultstring></soap:Fault>");
}

// A whole HTTP/1.1 answer with that body.
inline std::string Http(const std::string& body, const std::string& status = "200 OK", const std::string& extra = "") {
  return "HTTP/1.1 " + status + "\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\nConnection: close\r\n" + extra + "\r\n" + body;
}

}  // namespace faults
