// Every scenario of tests/e2e/scenarios/ and host/scenarios/ against a fresh reference service (demo member),
// with the add-in registered in a fresh registry file. Scripts reach the service through
// ${SERVICE_URL} and ${SERVICE_DB}, a service that refuses creates through ${REFUSING_URL},
// and a port where nothing listens through ${UNREACHABLE_URL}.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "RefusingProxy.h"
#include "support/ServiceProcess.h"

namespace host::e2e {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> ScenarioFiles() {
  std::vector<std::string> files;
  const char* source = std::getenv("TEST_SOURCE_DIR");
  if (!source) return files;
  for (const char* folder : {"tests/e2e/scenarios", "host/scenarios"}) {
    for (const auto& entry : fs::directory_iterator(fs::path(source) / folder)) {
      if (entry.path().extension() == ".scenario") files.push_back(entry.path().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// A loopback port that was free a moment ago, so that connecting to it is refused.
int ClosedPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  int port = ntohs(address.sin_port);
  close(fd);
  return port;
}

class ScenarioE2eTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/host-e2e-XXXXXX";
    dir_ = mkdtemp(pattern);
    setenv("FALCREST_REGISTRY", (dir_ + "/registry.reg").c_str(), 1);
    unsetenv("FALCREST_SHORT_DATE");
    unsetenv("FALCREST_LONG_TIME");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string dir_;
};

TEST_P(ScenarioE2eTest, Passes) {
  const std::string host = falcrest::test::BuildProgram("host/reminder-host");
  falcrest::test::ServiceProcess service(true);
  RefusingProxy refusing(service.Port());
  setenv("SERVICE_URL", service.BaseUrl().c_str(), 1);
  setenv("SERVICE_DB", service.DatabasePath().c_str(), 1);
  setenv("REFUSING_URL", refusing.BaseUrl().c_str(), 1);
  setenv("UNREACHABLE_URL", ("http://127.0.0.1:" + std::to_string(ClosedPort())).c_str(), 1);

  falcrest::test::ProgramResult registered = falcrest::test::RunProgram(host, {"register"});
  ASSERT_EQ(registered.exitCode, 0) << registered.err;
  falcrest::test::ProgramResult run =
      falcrest::test::RunProgram(host, {"run", GetParam(), "--calendar", dir_ + "/calendar.ics"});
  EXPECT_EQ(run.exitCode, 0) << run.err << "\n--- transcript ---\n" << run.out;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioE2eTest, ::testing::ValuesIn(ScenarioFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = fs::path(info.param).stem().string();
                           std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                           return name;
                         });

}  // namespace
}  // namespace host::e2e
