#include "bench/Operations.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <thread>

#include "addin/Components.h"
#include "bench/BenchClient.h"
#include "library/constants/SettingsKey.h"
#include "library/digest/Base64Class.h"
#include "library/registry/RegistryClass.h"
#include "library/service/ServiceAddress.h"
#include "optionspage/page/Components.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

const std::vector<std::string> kChosen = {"HomeEmail", "WorkEmail", "SMS"};
const char* const kExpectedSelection = "HomeEmail,WorkEmail,SMS";

struct Sample {
  double ms = 0;
  uint64_t requests = 0;
  uint64_t newConnections = 0;
  size_t connectionsUsed = 0;
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Runs one operation and reads the proxy's counters around it; `excluded` is time the user
// would have spent, taken out of the wall time.
Sample Measure(LatencyProxy* proxy, const std::function<void()>& operation,
               const std::function<std::chrono::nanoseconds()>& excluded) {
  const LatencyProxy::Counts before = proxy->Snapshot();
  const std::chrono::nanoseconds excludedBefore = excluded();
  const Clock::time_point start = Clock::now();
  operation();
  const Clock::duration wall = Clock::now() - start - (excluded() - excludedBefore);
  const LatencyProxy::Counts after = proxy->Snapshot();
  Sample s;
  s.ms = std::chrono::duration<double, std::milli>(wall).count();
  s.requests = after.requests - before.requests;
  s.newConnections = after.connections - before.connections;
  s.connectionsUsed = proxy->ConnectionsCarrying(before.requests);
  return s;
}

struct Series {
  std::vector<double> ms;
  uint64_t requests = 0;
  uint64_t newConnections = 0;
  size_t connectionsUsed = 0;
  void Add(const Sample& s) {
    ms.push_back(s.ms);
    requests = std::max(requests, s.requests);
    newConnections = std::max(newConnections, s.newConnections);
    connectionsUsed = std::max(connectionsUsed, s.connectionsUsed);
  }
};

enum Op { kSave, kSaveKept, kOpen, kStartup, kDelete, kOps };
const char* const kOpNames[kOps] = {"save, three devices, after an idle pause",
                                    "save, three devices, connection kept", "open (look-up)",
                                    "settings page start-up", "delete (reminder switched off)"};

}  // namespace

void StoreSettings(const std::string& serviceUrl, const std::string& devices) {
  falcrest::RegistryClass settings;
  settings.SetRootKeyName(falcrest::kSettingsRootName);
  settings.SetKeyName(falcrest::kSettingsKey);
  std::string password = "demo";
  settings.SetData(falcrest::kUserIdValue, "demo");
  settings.SetData(falcrest::kPasswordValue, falcrest::Base64Class().Encode64(password));
  settings.SetData(falcrest::kWebServiceUrlValue, serviceUrl);
  settings.SetData(falcrest::kDeviceValue, devices);
}

OperationsResult MeasureOperations(const OperationsSetup& setup) {
  OperationsResult result;
  CountingWindowing windowing;
  TickingDialog dialog(kChosen);
  ui::Install(&windowing);
  reminder::InstallDeviceDialogView(&dialog);

  Client client;
  std::shared_ptr<outlook::IDTExtensibility2> designer = reminder::CreateReminderDesigner();
  designer->OnConnection(client.Application(), 0);

  auto dialogTime = [&dialog] { return dialog.TimeInside(); };
  auto nothing = [] { return std::chrono::nanoseconds(0); };
  std::vector<double> dialogMs;
  int serial = 0;

  auto runCycles = [&](const std::string& base, int cycles, Series (&series)[kOps]) {
    StoreSettings(base + falcrest::kServicePath, "HomeEmail");
    // The client has talked to the service before the first cycle, as after earlier use, so
    // the first save after a pause measures the pause and not the client's very first call.
    orvane::CreateReminderSetting();
    for (int i = 0; i < cycles; ++i) {
      const std::string subject = "Bench appointment " + std::to_string(++serial);

      auto save = [&](Op op, const std::string& subjectText) {
        auto created = std::make_shared<Appointment>();
        created->subject = subjectText;
        client.OpenInspector(created);
        if (op == kSave) std::this_thread::sleep_for(setup.idleBeforeSave);
        const std::chrono::nanoseconds inside = dialog.TimeInside();
        series[op].Add(Measure(setup.proxy, [&] { created->RaiseWrite(); }, dialogTime));
        dialogMs.push_back(std::chrono::duration<double, std::milli>(dialog.TimeInside() - inside).count());
        if (dialog.LastSelection() != kExpectedSelection) {
          result.problems.push_back("the dialog chose \"" + dialog.LastSelection() + "\", not \"" +
                                    kExpectedSelection + "\": a device is missing on the service");
        }
      };
      save(kSave, subject);
      save(kSaveKept, subject + " (kept connection)");

      auto reopened = std::make_shared<Appointment>();
      reopened->subject = subject;
      client.OpenInspector(reopened);
      series[kOpen].Add(Measure(setup.proxy, [&] { reopened->RaiseOpen(); }, nothing));

      series[kStartup].Add(Measure(setup.proxy, [] { orvane::CreateReminderSetting(); }, nothing));

      reopened->reminderSet = false;
      series[kDelete].Add(Measure(setup.proxy, [&] { reopened->RaiseWrite(); }, nothing));
    }
  };

  Series direct[kOps];
  Series delayed[kOps];
  setup.proxy->SetOneWayDelay(std::chrono::microseconds(0));
  runCycles(setup.serviceBase, setup.directCycles, direct);
  setup.proxy->SetOneWayDelay(std::chrono::duration_cast<std::chrono::microseconds>(setup.roundTrip) / 2);
  runCycles(setup.proxyBase, setup.delayedCycles, delayed);
  setup.proxy->SetOneWayDelay(std::chrono::microseconds(0));

  designer->OnDisconnection(0);
  reminder::InstallDeviceDialogView(nullptr);
  ui::Install(nullptr);

  const double roundTripMs = std::chrono::duration<double, std::milli>(setup.roundTrip).count();
  for (int op = 0; op < kOps; ++op) {
    OperationFigures f;
    f.name = kOpNames[op];
    f.requests = delayed[op].requests;
    f.newConnections = delayed[op].newConnections;
    f.connectionsUsed = delayed[op].connectionsUsed;
    f.directMs = Median(direct[op].ms);
    f.delayedMs = Median(delayed[op].ms);
    f.ratio = f.requests ? f.delayedMs / (static_cast<double>(f.requests) * roundTripMs) : 0;
    result.operations.push_back(f);
  }
  result.saveDialogMs = Median(dialogMs);
  result.idleBeforeSaveMs = static_cast<double>(setup.idleBeforeSave.count());
  for (const std::string& m : windowing.messages) result.problems.push_back("message box: " + m);
  return result;
}

}  // namespace bench
