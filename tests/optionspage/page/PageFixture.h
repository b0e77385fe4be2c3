#pragma once
// What the settings page tests share: a registry file of their own, a windowing and a site
// that record every call in one log, and helpers to store and read the settings.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "addin/objectmodel/Outlook.h"
#include "addin/objectmodel/Windowing.h"
#include "library/constants/SettingsKey.h"
#include "library/digest/Base64Class.h"
#include "optionspage/SettingsStore.h"
#include "optionspage/page/ReminderSetting.h"

namespace page_test {

using Log = std::vector<std::string>;

class RecordingWindowing : public ui::Windowing {
 public:
  explicit RecordingWindowing(Log& log) : log_(log) {}
  void MessageBox(const std::string& text, const std::string& caption, ui::Icon icon) override {
    log_.push_back(caption + (icon == ui::Icon::kCritical ? " (critical): " : " (information): ") + text);
  }
  void OpenUrl(const std::string& url) override { log_.push_back("OpenUrl " + url); }
  void SetCursor(ui::Cursor cursor) override {
    log_.push_back(cursor == ui::Cursor::kHand ? "SetCursor hand" : "SetCursor arrow");
  }
  void InjectLeftButton(bool down) override { log_.push_back(down ? "LeftButton down" : "LeftButton up"); }

 private:
  Log& log_;
};

class RecordingSite : public outlook::PropertyPageSite {
 public:
  explicit RecordingSite(Log& log) : log_(log) {}
  void OnStatusChange() override { log_.push_back("OnStatusChange"); }

 private:
  Log& log_;
};

inline constexpr size_t kHomeEmail = 0, kWorkEmail = 1, kSms = 5, kFax = 9;

class PageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-page-XXXXXX").string();
    ASSERT_NE(::mkdtemp(&pattern[0]), nullptr);
    folder_ = pattern;
    path_ = folder_ + "/registry.reg";
    ::setenv("FALCREST_REGISTRY", path_.c_str(), 1);
    ui::Install(&windowing_);
  }
  void TearDown() override {
    ui::Install(nullptr);
    ::unsetenv("FALCREST_REGISTRY");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Stores the settings as a previous save would have left them.
  void Store(const std::string& userId, const std::string& password, const std::string& serviceUrl,
             const std::string& devices) {
    const falcrest::RegistryClass settings = orvane::OpenSettings();
    std::string copy = password;
    settings.SetData(falcrest::kUserIdValue, userId);
    settings.SetData(falcrest::kPasswordValue, password.empty() ? "" : falcrest::Base64Class().Encode64(copy));
    settings.SetData(falcrest::kWebServiceUrlValue, serviceUrl);
    settings.SetData(falcrest::kDeviceValue, devices);
  }
  static std::string Stored(const std::string& name) { return orvane::OpenSettings().GetData(name); }

  std::string RegistryText() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // The line of the registry file that holds "Device", or "" when there is none.
  std::string DeviceLine() const {
    std::istringstream text(RegistryText());
    for (std::string line; std::getline(text, line);) {
      if (line.rfind("\"Device\"=", 0) == 0) return line;
    }
    return "";
  }
  // Replaces that line by hand, as a person editing the file would ("": removes it).
  void SetDeviceLine(const std::string& replacement) {
    std::istringstream text(RegistryText());
    std::string edited;
    for (std::string line; std::getline(text, line);) {
      if (line.rfind("\"Device\"=", 0) != 0) {
        edited += line + "\n";
      } else if (!replacement.empty()) {
        edited += replacement + "\n";
      }
    }
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << edited;
  }

  // Builds the page and gives it a recording site, as the Options dialog does.
  std::unique_ptr<orvane::ReminderSetting> OpenSitedPage() {
    auto page = std::make_unique<orvane::ReminderSetting>();
    page->InitProperties(site_);
    return page;
  }

  Log log_;
  RecordingWindowing windowing_{log_};
  std::shared_ptr<RecordingSite> site_ = std::make_shared<RecordingSite>(log_);
  std::string folder_;
  std::string path_;
};

}  // namespace page_test
