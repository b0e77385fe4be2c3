// reminder-host.exe: the stand-in client on Windows.
//   reminder-host.exe run FILE [--calls LOGFILE] [--pictures FOLDER]
// runs a scenario (host/SCENARIOS.md) with the add-ins entered in the registry; --calls
// writes the calls between the client and its add-ins, one a line, once the client has
// stopped; --pictures writes BMP pictures of the first device dialog and message boxes
// shown. Exit status: 0 passed, 1 an expectation failed, 2 the file or the command line
// could not be used.
#include <windows.h>
#include <objbase.h>

#include <fstream>
#include <iostream>
#include <string>

#include "host/scenario/Scenario.h"
#include "host/win32/CallLog.h"
#include "host/scenario/ScenarioRunner.h"
#include "host/win32/WinDriver.h"
#include "library/support/Error.h"

namespace {

int Usage() {
  std::cerr << "usage: reminder-host.exe run FILE [--calls LOGFILE] [--pictures FOLDER]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || std::string(argv[1]) != "run") return Usage();
  const std::string file = argv[2];
  std::string callsFile, pictures;
  for (int i = 3; i < argc; ++i) {
    if (std::string(argv[i]) == "--calls" && i + 1 < argc) callsFile = argv[++i];
    else if (std::string(argv[i]) == "--pictures" && i + 1 < argc) pictures = argv[++i];
    else return Usage();
  }
  host::scenario::Script script;
  try {
    script = host::scenario::LoadScript(file, host::scenario::EnvironmentVariables());
  } catch (const falcrest::Error& e) {
    std::cerr << e.Description() << "\n";
    return 2;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::cerr << "COM could not be started\n";
    return 2;
  }
  // Under Wine, the web pages a settings page opens are caught by a recorder standing in for
  // the browser.
  if (const wchar_t* recorder = _wgetenv(L"OPTIONS_URL_RECORDER")) host::win32::OptionsDialog::UseUrlRecorder(recorder);
  int status;
  {
    host::win32::WinDriver driver(std::cout);
    driver.SetPictureFolder(std::wstring(pictures.begin(), pictures.end()));
    status = host::scenario::ScenarioRunner(driver, std::cout, std::cerr).Run(script);
  }
  CoFreeUnusedLibraries();
  CoUninitialize();
  if (!callsFile.empty()) {
    std::ofstream log(callsFile, std::ios::binary);
    for (const std::string& entry : host::win32::CallLog()) log << entry << "\n";
  }
  std::cout.flush();
  return status;
}
