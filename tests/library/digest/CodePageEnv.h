#pragma once
// Sets FALCREST_ANSI_CODEPAGE for one test and restores the previous value afterwards.
// On Windows the page is the process's active ANSI page, which Wine takes from LANG when the
// program starts: Active() tells whether this run has the page the test needs (the suites run
// once per page).
#include <cstdlib>
#include <optional>
#include <string>
#ifdef _WIN32
#include <windows.h>
#endif

class ScopedCodePage {
 public:
#ifdef _WIN32
  explicit ScopedCodePage(const char* page) : active_(std::to_string(GetACP()) == page) {}
  bool Active() const { return active_; }
#else
  explicit ScopedCodePage(const char* page) {
    if (const char* old = std::getenv(kName)) old_ = old;
    setenv(kName, page, 1);
  }
  ~ScopedCodePage() {
    if (old_) setenv(kName, old_->c_str(), 1);
    else unsetenv(kName);
  }
  bool Active() const { return true; }
#endif
  ScopedCodePage(const ScopedCodePage&) = delete;
  ScopedCodePage& operator=(const ScopedCodePage&) = delete;

 private:
#ifdef _WIN32
  bool active_;
#else
  static constexpr const char* kName = "FALCREST_ANSI_CODEPAGE";
  std::optional<std::string> old_;
#endif
};

// Skips the test when this run does not have the page (only ever on Windows).
#define REQUIRE_CODE_PAGE(scoped) \
  if (!(scoped).Active()) GTEST_SKIP() << "another ANSI code page is active in this run"
