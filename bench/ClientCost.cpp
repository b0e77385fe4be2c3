#include "bench/ClientCost.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <vector>

#include "bench/RawPost.h"
#include "library/constants/SystemConst.h"
#include "library/digest/MD5HashClass.h"
#include "library/records/LicenseType.h"
#include "library/service/ServiceAddress.h"
#include "library/service/WebService.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

struct CapturedRequest {
  std::vector<std::string> headers;  // "Content-Type: text/xml", "SOAPAction: ..."
  std::string body;
};

bool StartsWithNoCase(const std::string& line, const std::string& prefix) {
  if (line.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(line[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

// The headers the library chose (the ones curl adds itself, Host, Accept and Content-Length,
// it adds for the replay too) and the body, from the raw bytes of one request.
CapturedRequest Parse(const std::string& raw) {
  const size_t end = raw.find("\r\n\r\n");
  if (end == std::string::npos) throw std::runtime_error("client cost: the captured request has no header end");
  CapturedRequest request;
  size_t length = 0;
  size_t pos = raw.find("\r\n") + 2;
  while (pos < end) {
    size_t next = raw.find("\r\n", pos);
    const std::string line = raw.substr(pos, next - pos);
    if (StartsWithNoCase(line, "Content-Length:")) length = std::stoul(line.substr(15));
    else if (StartsWithNoCase(line, "Content-Type:") || StartsWithNoCase(line, "SOAPAction:"))
      request.headers.push_back(line);
    pos = next + 2;
  }
  request.body = raw.substr(end + 4, length);
  if (request.body.size() != length) throw std::runtime_error("client cost: the captured request is incomplete");
  return request;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

ClientCostFigures MeasureClientCost(const std::string& serviceBase, const std::string& proxyBase, LatencyProxy& proxy,
                                    int iterations, std::chrono::milliseconds roundTrip) {
  falcrest::LicenseType license;
  license.UserId = "demo";
  license.Password = falcrest::MD5HashClass().ComputeHash("demo");
  license.ClientName = falcrest::SystemConst().Name();
  license.ClientProgramName = falcrest::SystemConst().ProgramName();

  falcrest::WebService service;
  service.WebServiceURL = proxyBase + falcrest::kServicePath;
  proxy.SetOneWayDelay(std::chrono::microseconds(0));
  proxy.CaptureNextRequest();
  if (!service.GetOneMemberDevice(license, "HomeEmail"))
    throw std::runtime_error("client cost: the demo member has no HomeEmail device");
  const CapturedRequest request = Parse(proxy.TakeCapture());

  service.WebServiceURL = serviceBase + falcrest::kServicePath;
  bench::RawPost raw(service.WebServiceURL, request.body, request.headers);

  // Warm both paths (connections, caches), then alternate so that drift hits both alike.
  for (int i = 0; i < 100; ++i) {
    service.GetOneMemberDevice(license, "HomeEmail");
    raw.Post();
  }
  std::vector<double> library;
  std::vector<double> plain;
  library.reserve(iterations);
  plain.reserve(iterations);
  auto timeLibrary = [&] {
    Clock::time_point t0 = Clock::now();
    std::shared_ptr<falcrest::DeviceType> device = service.GetOneMemberDevice(license, "HomeEmail");
    library.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    if (!device) throw std::runtime_error("client cost: the service stopped answering");
  };
  auto timeRaw = [&] {
    Clock::time_point t0 = Clock::now();
    raw.Post();
    plain.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  };
  // Each pair back to back, which one goes first alternating, so that neither gains from order.
  for (int i = 0; i < iterations; ++i) {
    if (i % 2 == 0) {
      timeLibrary();
      timeRaw();
    } else {
      timeRaw();
      timeLibrary();
    }
  }

  // The raw POST through the proxy: what the network and the service give one exchange.
  bench::RawPost delayedRaw(proxyBase + falcrest::kServicePath, request.body, request.headers);
  std::vector<double> floorDirect;
  std::vector<double> floorDelayed;
  for (int i = 0; i < 15; ++i) {
    Clock::time_point t0 = Clock::now();
    raw.Post();
    floorDirect.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  proxy.SetOneWayDelay(std::chrono::duration_cast<std::chrono::microseconds>(roundTrip) / 2);
  delayedRaw.Post();  // the connection's set-up is not part of an exchange
  for (int i = 0; i < 15; ++i) {
    Clock::time_point t0 = Clock::now();
    delayedRaw.Post();
    floorDelayed.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  proxy.SetOneWayDelay(std::chrono::microseconds(0));

  ClientCostFigures f;
  f.floorDirectMs = Median(floorDirect);
  f.floorDelayedMs = Median(floorDelayed);
  f.iterations = iterations;
  f.libraryUs = Median(library);
  f.rawUs = Median(plain);
  // The extra per call as the median of paired differences: each pair ran back to back, so a
  // busy moment of a shared machine lands on both of its calls alike.
  std::vector<double> extra(library.size());
  for (size_t i = 0; i < library.size(); ++i) extra[i] = library[i] - plain[i];
  f.extraUs = Median(extra);
  f.ratio = (f.rawUs + f.extraUs) / f.rawUs;
  f.requestBytes = request.body.size();
  return f;
}

}  // namespace bench
