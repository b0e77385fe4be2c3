// tarvanel-callcost: N GetOneMemberDevice calls in a row, for counting the instructions one
// call costs under callgrind (valgrind --tool=callgrind), which repeats where wall time on a
// shared machine does not.
//
//   tarvanel-callcost --service http://127.0.0.1:PORT [--calls N] [--raw]
//   tarvanel-callcost-canned [--calls N]
//
// The first goes to a running reminder-service holding the demo member; --raw makes each call
// a plain libcurl POST of the same bytes on one kept handle instead (the floor). The canned
// build answers every request in-process with a fixed service answer, so that what remains is
// the library's own work: envelope, XML reading and the record.
// Prints the device read and, when the process runs under callgrind, nothing else: divide the
// counts of two runs with different N by the difference in N to leave the start-up out.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include "library/constants/SystemConst.h"
#include "library/digest/MD5HashClass.h"
#include "library/records/LicenseType.h"
#include "library/service/ServiceAddress.h"
#include "library/service/WebService.h"

#ifdef CALLCOST_CANNED
#include "fuzz/FakeHttp.h"
#else
#include "bench/RawPost.h"
#endif

namespace {

const char* const kUsage =
#ifdef CALLCOST_CANNED
    "usage: tarvanel-callcost-canned [--calls N]\n";
#else
    "usage: tarvanel-callcost --service http://127.0.0.1:PORT [--calls N] [--raw]\n";
#endif

#ifdef CALLCOST_CANNED
// The reference service's answer for the demo member's HomeEmail device, byte for byte.
const char* const kAnswer =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">"
    "<soap:Body><GetOneMemberDeviceResponse xmlns=\"http://reminder.tarvanel.com/\"><GetOneMemberDeviceResult>"
    "<DeviceId>1</DeviceId><DeviceType>HomeEmail</DeviceType><DeviceAddress>demo@example.com</DeviceAddress>"
    "<ServiceProviderName></ServiceProviderName><Selected>false</Selected>"
    "<LastDeliveryTime>0001-01-01T00:00:00</LastDeliveryTime><DeliveryStatus></DeliveryStatus>"
    "<ExtendStatus></ExtendStatus></GetOneMemberDeviceResult></GetOneMemberDeviceResponse></soap:Body>"
    "</soap:Envelope>";
#endif

}  // namespace

int main(int argc, char** argv) {
  std::string base;
  long calls = 1000;
  bool raw = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--service") == 0 && i + 1 < argc) {
      base = argv[++i];
    } else if (std::strcmp(argv[i], "--calls") == 0 && i + 1 < argc) {
      calls = std::atol(argv[++i]);
    } else if (std::strcmp(argv[i], "--raw") == 0) {
      raw = true;
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
#ifdef CALLCOST_CANNED
  falcrest::fuzzing::SetAnswer(kAnswer);
  base = "http://127.0.0.1:1";
#endif
  if (base.empty() || calls < 0) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  try {
    falcrest::LicenseType license;
    license.UserId = "demo";
    license.Password = falcrest::MD5HashClass().ComputeHash("demo");
    license.ClientName = falcrest::SystemConst().Name();
    license.ClientProgramName = falcrest::SystemConst().ProgramName();

    falcrest::WebService service;
    service.WebServiceURL = base + falcrest::kServicePath;
    std::shared_ptr<falcrest::DeviceType> device = service.GetOneMemberDevice(license, "HomeEmail");
    if (!device) throw std::runtime_error("the demo member has no HomeEmail device");
    std::printf("device %d %s %s\n", device->DeviceId, device->DeviceType.c_str(), device->DeviceAddress.c_str());

#ifndef CALLCOST_CANNED
    if (raw) {
      // The body the library sent, as the library builds it: envelope around the method.
      const std::string method = "GetOneMemberDevice";
      const std::string body =
          "<?xml version='1.0' encoding='utf-8'?>"
          "<soap:Envelope xmlns:soap='http://schemas.xmlsoap.org/soap/envelope/'"
          " xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'"
          " xmlns:xsd='http://www.w3.org/2001/XMLSchema'><soap:Body>"
          "<" + method + " xmlns='" + falcrest::kServiceNamespace + "'>" + license.Serialize("license") +
          "<deviceType>HomeEmail</deviceType></" + method + "></soap:Body></soap:Envelope>";
      bench::RawPost post(service.WebServiceURL, body, {"Content-Type: text/xml", "SOAPAction: " + std::string(falcrest::kServiceNamespace) + method});
      for (long i = 0; i < calls; ++i) post.Post();
      return 0;
    }
#else
    (void)raw;
#endif
    for (long i = 0; i < calls; ++i) {
      if (!service.GetOneMemberDevice(license, "HomeEmail")) throw std::runtime_error("the service stopped answering");
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tarvanel-callcost: %s\n", e.what());
    return 1;
  }
  return 0;
}
