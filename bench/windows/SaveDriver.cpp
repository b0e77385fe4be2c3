// tarvanel-save-driver: the Windows build's add-in saving appointments, for the bench's
// latency proxy on the POSIX side (tarvanel-bench-wine) to time. The add-in runs on the
// Windows backends (WinINet, MSXML, the registry) with the bench's stand-in client, on a
// thread with COM initialised as the client's is.
//
//   tarvanel-save-driver.exe SERVICE_URL SAVES
//
// For each save it writes "ready", waits for a line on its standard input, saves one new
// appointment with three devices ticked and writes "done <ms> <selection>" (the wall time,
// less the time inside the scripted dialog). A warm-up save before them sets up the kept
// connection. Message boxes the add-in raised are written as "message <text>".
#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "addin/Components.h"
#include "bench/BenchClient.h"
#include "library/constants/SettingsKey.h"
#include "library/digest/Base64Class.h"
#include "library/registry/RegistryClass.h"

namespace {

using Clock = std::chrono::steady_clock;

void StoreSettings(const std::string& service_url) {
  falcrest::RegistryClass settings;
  settings.SetRootKeyName(falcrest::kSettingsRootName);
  settings.SetKeyName(falcrest::kSettingsKey);
  std::string password = "demo";
  settings.SetData(falcrest::kUserIdValue, "demo");
  settings.SetData(falcrest::kPasswordValue, falcrest::Base64Class().Encode64(password));
  settings.SetData(falcrest::kWebServiceUrlValue, service_url);
  settings.SetData(falcrest::kDeviceValue, "HomeEmail");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: tarvanel-save-driver SERVICE_URL SAVES\n";
    return 2;
  }
  const std::string url = argv[1];
  const int saves = std::atoi(argv[2]);
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  StoreSettings(url);

  bench::CountingWindowing windowing;
  bench::TickingDialog dialog({"HomeEmail", "WorkEmail", "SMS"});
  ui::Install(&windowing);
  reminder::InstallDeviceDialogView(&dialog);
  bench::Client client;
  std::shared_ptr<outlook::IDTExtensibility2> designer = reminder::CreateReminderDesigner();
  designer->OnConnection(client.Application(), 0);

  auto save = [&](const std::string& subject) {
    auto appointment = std::make_shared<bench::Appointment>();
    appointment->subject = subject;
    client.OpenInspector(appointment);
    const std::chrono::nanoseconds inside = dialog.TimeInside();
    const Clock::time_point start = Clock::now();
    appointment->RaiseWrite();
    const auto wall = Clock::now() - start - (dialog.TimeInside() - inside);
    return std::chrono::duration<double, std::milli>(wall).count();
  };

  save("Windows bench warm-up");
  std::string line;
  for (int i = 0; i < saves; ++i) {
    std::cout << "ready" << std::endl;
    if (!std::getline(std::cin, line)) break;
    const double ms = save("Windows bench appointment " + std::to_string(i + 1));
    std::cout << "done " << ms << " " << dialog.LastSelection() << std::endl;
  }
  for (const std::string& message : windowing.messages) std::cout << "message " << message << std::endl;

  designer->OnDisconnection(0);
  reminder::InstallDeviceDialogView(nullptr);
  ui::Install(nullptr);
  CoUninitialize();
  return windowing.messages.empty() ? 0 : 1;
}
