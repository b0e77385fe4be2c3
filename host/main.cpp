// reminder-host: the stand-in for the mail-and-calendar client.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "addin/Registration.h"
#include "addin/dialog/DeviceDialogView.h"
#include "host/calendar/CalendarFile.h"
#include "host/client/Client.h"
#include "host/pageview/RegisterSettingsPage.h"
#include "host/scenario/ScenarioRunner.h"
#include "host/scenario/ScriptedDriver.h"
#include "host/terminal/Terminal.h"
#include "host/windowing/TerminalDeviceDialog.h"
#include "host/windowing/TerminalWindowing.h"
#include "library/support/Error.h"

namespace {

const char* const kUsage =
    "usage: reminder-host [--calendar PATH]            the client, on this terminal\n"
    "       reminder-host run FILE [--calendar PATH]   run a scenario (see host/SCENARIOS.md)\n"
    "       reminder-host register | unregister        enter or remove the add-in for loading\n"
    "\n"
    "  --calendar PATH  the iCalendar file of the calendar (default\n"
    "                   ${XDG_DATA_HOME:-~/.local/share}/tarvanel/calendar.ics; a scenario\n"
    "                   without it runs on a fresh temporary calendar)\n"
    "The registry is the file at $FALCREST_REGISTRY (default ~/.config/tarvanel/registry.reg).\n";

int Interactive(const std::string& calendarPath) {
  host::TerminalWindowing windowing(std::cout, true);
  host::TerminalDeviceDialog dialog(std::cin, std::cout);
  ui::Install(&windowing);
  reminder::InstallDeviceDialogView(&dialog);
  int status = 0;
  try {
    host::Client client(calendarPath);
    client.LoadAddins(std::cerr);
    for (const auto& addin : client.Addins()) std::cout << "Add-in loaded: " << addin.progId << "\n";
    if (client.Addins().empty()) std::cout << "No add-in is loaded (reminder-host register enters the Reminder add-in)\n";
    host::Terminal terminal(client, std::cin, std::cout);
    terminal.Run();
  } catch (const falcrest::Error& e) {
    std::cerr << "reminder-host: " << e.Description() << "\n";
    status = 2;
  }
  reminder::InstallDeviceDialogView(nullptr);
  ui::Install(nullptr);
  return status;
}

int RunScenario(const std::string& file, std::string calendarPath) {
  std::string temporaryDir;
  if (calendarPath.empty()) {
    char pattern[] = "/tmp/reminder-host-XXXXXX";
    if (!mkdtemp(pattern)) {
      std::cerr << "reminder-host: cannot make a temporary folder for the calendar\n";
      return 2;
    }
    temporaryDir = pattern;
    calendarPath = temporaryDir + "/calendar.ics";
  }
  int status = 0;
  try {
    host::scenario::Script script = host::scenario::LoadScript(file, host::scenario::EnvironmentVariables());
    host::scenario::ScriptedDriver driver(calendarPath, std::cout);
    host::scenario::ScenarioRunner runner(driver, std::cout, std::cerr);
    status = runner.Run(script);
  } catch (const falcrest::Error& e) {
    std::cerr << e.Description() << "\n";
    status = 2;
  }
  if (!temporaryDir.empty()) {
    std::remove(calendarPath.c_str());
    std::remove(temporaryDir.c_str());
  }
  return status;
}

int Register(bool enter) {
  try {
    if (enter) {
      reminder::RegisterAddin();
      std::cout << "The Reminder add-in is entered for loading at start-up\n";
    } else {
      reminder::UnregisterAddin();
      std::cout << "The Reminder add-in is no longer entered for loading\n";
    }
  } catch (const falcrest::Error& e) {
    std::cerr << "reminder-host: " << e.Description() << "\n";
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string calendarPath;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (args[i] == "--calendar") {
      if (i + 1 >= args.size()) {
        std::cerr << "reminder-host: --calendar needs a path\n" << kUsage;
        return 2;
      }
      calendarPath = args[++i];
    } else {
      rest.push_back(args[i]);
    }
  }
  RegisterSettingsPage();
  if (rest.empty()) return Interactive(calendarPath.empty() ? host::calendar::DefaultCalendarPath() : calendarPath);
  if (rest[0] == "run" && rest.size() == 2) return RunScenario(rest[1], calendarPath);
  if (rest[0] == "register" && rest.size() == 1) return Register(true);
  if (rest[0] == "unregister" && rest.size() == 1) return Register(false);
  std::cerr << kUsage;
  return 2;
}
