// Two processes writing the same file at once lose none of each other's values.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "library/registry/RegistryClass.h"
#include "TempRegistry.h"

namespace {

constexpr int kWrites = 1000;

falcrest::RegistryClass SharedKey() {
  falcrest::RegistryClass key;
  key.SetRootKeyName("HKEY_CURRENT_USER");
  key.SetKeyName("Software\\Tarvanel\\Shared");
  return key;
}

// Writes kWrites values of its own, then leaves with 0, or 1 at the first error.
pid_t StartWriter(char tag) {
  pid_t pid = ::fork();
  if (pid != 0) return pid;
  try {
    falcrest::RegistryClass key = SharedKey();
    for (int i = 0; i < kWrites; ++i) key.SetData(std::string(1, tag) + std::to_string(i), tag + std::to_string(i));
  } catch (...) {
    ::_exit(1);
  }
  ::_exit(0);
}

class ConcurrentWriters : public registry_test::TempRegistry {};

TEST_F(ConcurrentWriters, NoWriteIsLost) {
  const pid_t writers[] = {StartWriter('a'), StartWriter('b')};
  for (pid_t pid : writers) {
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer " << pid << " status " << status;
  }
  falcrest::RegistryClass key = SharedKey();
  int missing = 0;
  for (char tag : {'a', 'b'}) {
    for (int i = 0; i < kWrites; ++i) {
      std::string name = std::string(1, tag) + std::to_string(i);
      if (key.GetData(name) != tag + std::to_string(i) && ++missing <= 5) ADD_FAILURE() << "lost " << name;
    }
  }
  EXPECT_EQ(missing, 0);
}

}  // namespace
