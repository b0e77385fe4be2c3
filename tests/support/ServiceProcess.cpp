#include "ServiceProcess.h"

#include <httplib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace falcrest::test {

namespace {

// Closes a descriptor when it goes out of scope.
struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) close(fd);
  }
};

// The argument vector is built before fork: a child of a threaded process may not allocate.
std::vector<char*> ArgumentVector(const std::string& path, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  return argv;
}

[[noreturn]] void ExecOrDie(const std::vector<char*>& argv) {
  execv(argv[0], argv.data());
  _exit(127);
}

// Reads until the pipe closes.
std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      text.append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      return text;
    }
  }
}

// Waits for the child, up to `timeout`; returns the raw status or -1 when still running.
int WaitFor(pid_t pid, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return status;
    if (std::chrono::steady_clock::now() >= deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace

std::string BuildProgram(const std::string& relativePath) {
  const char* dir = std::getenv("TEST_BIN_DIR");
  return std::string(dir ? dir : ".") + "/" + relativePath;
}

ServiceProcess::ServiceProcess(bool seedDemo) {
  char pattern[] = "/tmp/reminder-service-test-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("Cannot create a temporary folder for the service's database");
  dir_ = pattern;
  dbPath_ = dir_ + "/service.db";

  const std::string program = BuildProgram("reference-service/reminder-service");
  std::vector<std::string> args = {"--port", "0", "--db", dbPath_};
  if (seedDemo) args.push_back("--seed-demo");

  const std::vector<char*> argv = ArgumentVector(program, args);
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("Cannot create a pipe for the service's output");
  Fd reader{out[0]};
  pid_ = fork();
  if (pid_ < 0) {
    close(out[1]);
    throw std::runtime_error("Cannot start " + program);
  }
  if (pid_ == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    ExecOrDie(argv);
  }
  close(out[1]);

  // The first line is "listening on http://127.0.0.1:PORT"; give a slow machine 20 s.
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (line.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{reader.fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char c;
    if (read(reader.fd, &c, 1) != 1) break;
    line += c;
  }
  const std::string prefix = "listening on http://127.0.0.1:";
  if (line.rfind(prefix, 0) == 0) port_ = std::atoi(line.c_str() + prefix.size());
  if (port_ <= 0) {
    Stop();
    std::filesystem::remove_all(dir_);
    throw std::runtime_error("The service " + program + " did not report its port; its first line was \"" + line + "\"");
  }
  // The service writes nothing more to stdout; the pipe's reader end closes here.
}

ServiceProcess::~ServiceProcess() {
  Stop();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string ServiceProcess::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::string ServiceProcess::EndpointUrl() const { return BaseUrl() + "/WebService/OutlookPlugin.asmx"; }

bool ServiceProcess::Running() {
  if (pid_ <= 0) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid_ = -1;
    return false;
  }
  return true;
}

int ServiceProcess::Stop() {
  if (pid_ <= 0) return exitStatus_;
  kill(pid_, SIGTERM);
  int status = WaitFor(pid_, std::chrono::seconds(10));
  if (status == -1) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
    exitStatus_ = -1;
  } else {
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  pid_ = -1;
  return exitStatus_;
}

ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& args) {
  const std::vector<char*> argv = ArgumentVector(path, args);
  int out[2], err[2];
  if (pipe(out) != 0) throw std::runtime_error("Cannot create a pipe");
  if (pipe(err) != 0) {
    close(out[0]);
    close(out[1]);
    throw std::runtime_error("Cannot create a pipe");
  }
  const pid_t pid = fork();
  if (pid < 0) {
    for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
    throw std::runtime_error("Cannot start " + path);
  }
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    const int devnull = open("/dev/null", O_RDONLY);
    if (devnull >= 0) dup2(devnull, STDIN_FILENO);
    close(out[0]);
    close(out[1]);
    close(err[0]);
    close(err[1]);
    ExecOrDie(argv);
  }
  close(out[1]);
  close(err[1]);
  ProgramResult result;
  // stderr is read on a second thread so that neither pipe can fill up and block the child.
  std::thread errReader([&]() { result.err = ReadAll(err[0]); });
  result.out = ReadAll(out[0]);
  errReader.join();
  close(out[0]);
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string ServiceProcess::LogIn(const std::string& userId, const std::string& password) const {
  httplib::Client web("127.0.0.1", port_);
  const auto answer = web.Post("/Reminders.aspx", httplib::Params{{"UserId", userId}, {"Password", password}});
  if (!answer || answer->status != 303) return std::string();
  const std::string cookie = answer->get_header_value("Set-Cookie");
  return cookie.substr(0, cookie.find(';'));
}

}  // namespace falcrest::test
