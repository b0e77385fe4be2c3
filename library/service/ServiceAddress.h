#pragma once
// The service's namespace URI and its default endpoint: chosen once, here.

namespace falcrest {

// Default namespace of every method element, and the SOAPAction prefix. Ends with "/".
inline constexpr const char* kServiceNamespace = "http://reminder.tarvanel.com/";

// Where the service lives unless the settings say otherwise.
inline constexpr const char* kServicePath = "/WebService/OutlookPlugin.asmx";
inline constexpr const char* kDefaultServiceUrl = "http://www.tarvanel.com/WebService/OutlookPlugin.asmx";

}  // namespace falcrest
