#pragma once
// Round trips of the four things a user waits for: a save with three chosen devices, opening
// an appointment, the settings page's start-up and a delete; each driven through the add-in
// or the page as the client would, against the service directly and through the proxy.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "bench/LatencyProxy.h"

namespace bench {

struct OperationFigures {
  std::string name;
  uint64_t requests = 0;        // per operation (the most seen in one)
  uint64_t newConnections = 0;  // connections opened during one (the most)
  size_t connectionsUsed = 0;   // distinct connections that carried its requests (the most)
  double directMs = 0;          // median wall time on loopback
  double delayedMs = 0;         // median wall time through the proxy
  double ratio = 0;             // delayedMs / (requests x round trip)
};

struct OperationsSetup {
  std::string serviceBase;  // "http://127.0.0.1:PORT"
  std::string proxyBase;    // the same service through the proxy
  LatencyProxy* proxy = nullptr;
  std::chrono::milliseconds roundTrip{20};
  int directCycles = 5;
  int delayedCycles = 5;
  // Idle time before the first save of a cycle, as after some editing; the second save
  // follows at once.
  std::chrono::milliseconds idleBeforeSave{1500};
};

struct OperationsResult {
  std::vector<OperationFigures> operations;  // save (new, kept connection), open, start-up, delete
  std::vector<std::string> problems;         // message boxes, unexpected selections
  double saveDialogMs = 0;                   // median time inside the dialog, taken out of the save
  double idleBeforeSaveMs = 0;               // the pause before the first save of a cycle
};

// Runs the cycles; the registry (FALCREST_REGISTRY) must hold the demo account.
OperationsResult MeasureOperations(const OperationsSetup& setup);

// Points the stored settings at the service URL (the add-in and the page read them afresh).
void StoreSettings(const std::string& serviceUrl, const std::string& devices);

}  // namespace bench
