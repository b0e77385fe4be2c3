#pragma once
// The real reference service, started as a child process for end-to-end tests: on a free
// loopback port, with a fresh database that is removed when the object goes.
#include <sys/types.h>

#include <string>
#include <vector>

namespace falcrest::test {

// Path of a program in the build folder (TEST_BIN_DIR), e.g. "reference-service/reminder-service".
std::string BuildProgram(const std::string& relativePath);

class ServiceProcess {
 public:
  // Starts reminder-service --port 0 --db <temporary file> (--seed-demo when asked) and
  // reads the port from its first line; throws std::runtime_error when that fails.
  explicit ServiceProcess(bool seedDemo = true);
  // Stops the service (SIGTERM, then SIGKILL after 10 s) and removes its database.
  ~ServiceProcess();
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:PORT".
  std::string BaseUrl() const;
  // The SOAP endpoint: BaseUrl() + "/WebService/OutlookPlugin.asmx".
  std::string EndpointUrl() const;
  const std::string& DatabasePath() const { return dbPath_; }
  // Logs in on the service's pages; returns the Cookie header value that carries the session
  // ("TarvanelSession=..."), or "" when the log-in was refused.
  std::string LogIn(const std::string& userId, const std::string& password) const;
  // True while the process has not exited.
  bool Running();
  // Sends SIGTERM and waits; returns the exit status (-1 when it had to be killed).
  int Stop();

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  int exitStatus_ = -1;
  std::string dir_;
  std::string dbPath_;
};

struct ProgramResult {
  int exitCode = -1;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs a program to its end with the arguments, capturing its output; throws
// std::runtime_error when it cannot be started.
ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& args);

}  // namespace falcrest::test
