#pragma once
// A registry of its own for one test. On POSIX, FALCREST_REGISTRY points into a fresh folder
// that is removed afterwards. On Windows, the process's predefined roots are mapped to fresh
// keys below HKEY_CURRENT_USER\Software\FalcrestTests, removed afterwards, so that tests
// never meet each other's keys or anything real.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <filesystem>
#include <fstream>
#include <sstream>
#endif

namespace registry_test {

#ifdef _WIN32

class TempRegistry : public ::testing::Test {
 protected:
  static constexpr const char* kTestsKey = "Software\\FalcrestTests";

  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    base_ = std::string(kTestsKey) + "\\" + std::to_string(GetCurrentProcessId()) + "." + test->test_suite_name() +
            "." + test->name();
    RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
    for (size_t i = 0; i < kRoots; ++i) {
      const std::string path = base_ + "\\" + kRootNames[i];
      ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &mapped_[i]), ERROR_SUCCESS) << path;
    }
    for (size_t i = 0; i < kRoots; ++i)
      ASSERT_EQ(RegOverridePredefKey(Root(i), mapped_[i]), ERROR_SUCCESS) << kRootNames[i];
  }
  void TearDown() override {
    for (size_t i = 0; i < kRoots; ++i) {
      RegOverridePredefKey(Root(i), nullptr);
      if (mapped_[i] != nullptr) RegCloseKey(mapped_[i]);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestsKey);  // only goes when no other test's keys are left
  }

  static constexpr size_t kRoots = 4;
  static constexpr const char* kRootNames[kRoots] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                                     "HKEY_USERS"};
  static HKEY Root(size_t i) { return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000000 + i))); }

  std::string base_;
  HKEY mapped_[kRoots] = {};
};

#else

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

#endif

}  // namespace registry_test
