#pragma once
// One connected add-in against the fake client, a scripted service, a registry file of its
// own, a scripted device dialog and recorded message boxes.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "FakeOutlook.h"
#include "ScriptedService.h"
#include "ScriptedViews.h"
#include "addin/Components.h"
#include "library/constants/SettingsKey.h"
#include "library/digest/Base64Class.h"
#include "library/registry/RegistryClass.h"

namespace addin_test {

class AddinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "addin-reg-XXXXXX").string();
    ASSERT_NE(::mkdtemp(&pattern[0]), nullptr);
    folder_ = pattern;
    ::setenv("FALCREST_REGISTRY", (folder_ + "/registry.reg").c_str(), 1);
    ::setenv("FALCREST_SHORT_DATE", "M/d/yyyy", 1);
    ::setenv("FALCREST_LONG_TIME", "h:mm:ss tt", 1);
    ui::Install(&windowing);
    reminder::InstallDeviceDialogView(&view);

    StoreSetting(falcrest::kUserIdValue, "demo");
    StorePassword("demo");
    StoreSetting(falcrest::kWebServiceUrlValue, service.Url());
    StoreSetting(falcrest::kDeviceValue, "");
    service.SetDevice("HomeEmail", "demo@example.com");
    service.SetDevice("SMS", "5551234", "Acme");
  }

  void TearDown() override {
    if (designer) designer->OnDisconnection(0);
    designer.reset();
    reminder::InstallDeviceDialogView(nullptr);
    ui::Install(nullptr);
    ::unsetenv("FALCREST_REGISTRY");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  void Connect() {
    designer = reminder::CreateReminderDesigner();
    designer->OnConnection(outlook.app, 0);
    log->Take();
  }

  static void StoreSetting(const char* name, const std::string& value) {
    falcrest::RegistryClass settings;
    settings.SetRootKeyName(falcrest::kSettingsRootName);
    settings.SetKeyName(falcrest::kSettingsKey);
    settings.SetData(name, value);
  }
  static void StorePassword(std::string plain) {
    StoreSetting(falcrest::kPasswordValue, plain.empty() ? "" : falcrest::Base64Class().Encode64(plain));
  }

  // A new appointment, shown in an inspector so that the add-in tracks it.
  std::shared_ptr<FakeAppointment> Track(const std::string& subject = "Dentist") {
    auto appointment = std::make_shared<FakeAppointment>(log, subject);
    outlook.app->inspectors->RaiseNewInspector(appointment);
    log->Take();
    return appointment;
  }

  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const MessageBoxShown& box : windowing.boxes) texts.push_back(box.text);
    return texts;
  }

  struct World {
    explicit World(std::shared_ptr<CallLog> log) : app(std::make_shared<FakeApplication>(log)) {}
    std::shared_ptr<FakeApplication> app;
  };

  std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
  World outlook{log};
  ScriptedService service;
  ScriptedDialogView view;
  RecordingWindowing windowing;
  std::shared_ptr<outlook::IDTExtensibility2> designer;

 private:
  std::string folder_;
};

}  // namespace addin_test
