// reminder-service: the reference reminder service, for the demo and the end-to-end tests.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "reference-service/ReminderStore.h"
#include "reference-service/Server.h"

namespace {

struct Options {
  std::string bind = "127.0.0.1";
  int port = 8080;
  std::string db = "./reminder-service.db";
  bool seedDemo = false;
};

const char* const kUsage =
    "usage: reminder-service [--port N] [--bind ADDR] [--db PATH] [--seed-demo]\n"
    "\n"
    "Serves the reminder web service at /WebService/OutlookPlugin.asmx and the pages\n"
    "/Signup.aspx, /EditDevice.aspx, /Reminders.aspx, /Reminder.aspx and /Logout.aspx;\n"
    "the device and reminder pages ask the member to log in first.\n"
    "\n"
    "  --port N     port to listen on (default 8080; 0 picks a free one)\n"
    "  --bind ADDR  address to listen on (default 127.0.0.1)\n"
    "  --db PATH    SQLite database file (default ./reminder-service.db)\n"
    "  --seed-demo  add member \"demo\" (password \"demo\") with two devices\n"
    "  --help       show this text\n"
    "\n"
    "The first line on standard output is \"listening on http://ADDR:PORT\".\n";

// Parses the command line; exits with 0 for --help and 2 for a bad option.
Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::cerr << "reminder-service: " << arg << " needs a value\n" << kUsage;
        std::exit(2);
      }
      return argv[++i];
    };
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      std::exit(0);
    } else if (arg == "--port") {
      const std::string text = value();
      char* end = nullptr;
      const long port = std::strtol(text.c_str(), &end, 10);
      if (text.empty() || *end != '\0' || port < 0 || port > 65535) {
        std::cerr << "reminder-service: --port takes a number from 0 to 65535, not \"" << text << "\"\n";
        std::exit(2);
      }
      o.port = static_cast<int>(port);
    } else if (arg == "--bind") {
      o.bind = value();
    } else if (arg == "--db") {
      o.db = value();
    } else if (arg == "--seed-demo") {
      o.seedDemo = true;
    } else {
      std::cerr << "reminder-service: unknown option \"" << arg << "\"\n" << kUsage;
      std::exit(2);
    }
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);

  // Signals are taken by one waiting thread, so the server is stopped outside a handler.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  try {
    reminder_service::ReminderStore store(options.db);
    if (options.seedDemo) store.SeedDemo();

    reminder_service::ReminderServer server(store);
    const int port = server.Bind(options.bind, options.port);
    if (port <= 0) {
      std::cerr << "reminder-service: cannot listen on " << options.bind << ":" << options.port << "\n";
      return 1;
    }
    std::printf("listening on http://%s:%d\n", options.bind.c_str(), port);
    std::fflush(stdout);

    std::thread waiter([&]() {
      int signal_number = 0;
      sigwait(&stopSignals, &signal_number);
      server.Stop();
    });
    const bool served = server.Run();
    pthread_kill(waiter.native_handle(), SIGTERM);  // wakes the waiter when serving ended on its own
    waiter.join();
    if (!served) {
      std::cerr << "reminder-service: serving on " << options.bind << ":" << port << " failed\n";
      return 1;
    }
  } catch (const std::exception& e) {
    std::cerr << "reminder-service: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
