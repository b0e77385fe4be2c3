#pragma once
// A registry file of its own for one test: FALCREST_REGISTRY points into a fresh folder
// that is removed afterwards.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace registry_test {

class TempRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "falcrest-reg-XXXXXX").string();
    ASSERT_NE(::mkdtemp(&pattern[0]), nullptr);
    folder_ = pattern;
    path_ = folder_ + "/registry.reg";
    ::setenv("FALCREST_REGISTRY", path_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("FALCREST_REGISTRY");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // The registry file's bytes ("" when missing).
  std::string FileText() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void WriteFileText(const std::string& text) const {
    std::ofstream(path_, std::ios::binary) << text;
  }
  // The line that stores a value, as in "\"UserID\"=dword:0000002a", or "" when none does.
  std::string LineOf(const std::string& quoted_name) const {
    std::istringstream lines(FileText());
    for (std::string line; std::getline(lines, line);)
      if (line.compare(0, quoted_name.size() + 1, quoted_name + "=") == 0) return line;
    return std::string();
  }

  std::string folder_;
  std::string path_;
};

}  // namespace registry_test
