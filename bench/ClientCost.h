#pragma once
// The client's own cost per operation: one GetOneMemberDevice through the library against a
// plain libcurl keep-alive POST of the very same request bytes to the same server.
#include <chrono>
#include <string>

#include "bench/LatencyProxy.h"

namespace bench {

struct ClientCostFigures {
  int iterations = 0;
  double libraryUs = 0;  // median, microseconds
  double rawUs = 0;      // median, microseconds
  double extraUs = 0;    // median of the paired differences library - raw
  double ratio = 0;      // (rawUs + extraUs) / rawUs
  size_t requestBytes = 0;
  // The floor of one exchange: the raw POST on a kept connection, loopback and delayed.
  double floorDirectMs = 0;
  double floorDelayedMs = 0;
};

// `proxy` is used to capture the library's request for the replay, and then to time the
// raw POST at `roundTrip`.
ClientCostFigures MeasureClientCost(const std::string& serviceBase, const std::string& proxyBase, LatencyProxy& proxy,
                                    int iterations, std::chrono::milliseconds roundTrip);

}  // namespace bench
