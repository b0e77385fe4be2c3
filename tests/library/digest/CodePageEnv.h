#pragma once
// Sets FALCREST_ANSI_CODEPAGE for one test and restores the previous value afterwards.
#include <cstdlib>
#include <optional>
#include <string>

class ScopedCodePage {
 public:
  explicit ScopedCodePage(const char* page) {
    if (const char* old = std::getenv(kName)) old_ = old;
    setenv(kName, page, 1);
  }
  ~ScopedCodePage() {
    if (old_) setenv(kName, old_->c_str(), 1);
    else unsetenv(kName);
  }
  ScopedCodePage(const ScopedCodePage&) = delete;
  ScopedCodePage& operator=(const ScopedCodePage&) = delete;

 private:
  static constexpr const char* kName = "FALCREST_ANSI_CODEPAGE";
  std::optional<std::string> old_;
};
