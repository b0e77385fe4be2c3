// The add-in against a misbehaving service: each handler shows one error box and returns,
// within the limits; the remote id slot holds no id found earlier (a later save with the
// reminder off sends no delete), and the stored settings stay as they were.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakeOutlook.h"
#include "HostileAnswers.h"
#include "HostileServer.h"
#include "ScriptedViews.h"
#include "addin/Components.h"
#include "library/constants/SettingsKey.h"
#include "library/digest/Base64Class.h"
#include "library/registry/RegistryClass.h"
#include "library/service/http/HttpRequest.h"

namespace faults {
namespace {

using Clock = std::chrono::steady_clock;
using addin_test::FakeAppointment;

struct HostileRow {
  const char* name;
  Script script;
};

std::vector<HostileRow> Rows() {
  return {
      {"closed before the headers", {ReadRequest(), HangUp()}},
      {"closed during the headers", {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Ty"), HangUp()}},
      {"body cut short", {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 500\r\n\r\n<soap:"), HangUp()}},
      {"body trickles", {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 500\r\n\r\n"), Trickle("<soap:Envelope", 1000)}},
      {"2 GiB Content-Length", {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 2147483648\r\n\r\n<soap:"), Pause(60'000)}},
      {"not a number", {ReadRequest(), Send(Http(Result("GetReminderIds", std::string("<int>4\0\xff</int>", 11)) +
                                                 Result("GetOneMemberDevice", "<Selected>maybe</Selected>")))}},
      {"entity declarations",
       {ReadRequest(), Send(Http("<!DOCTYPE x [<!ENTITY a \"&b;&b;\"><!ENTITY b \"&a;\">]>" +
                                 Result("GetReminderIds", "<int>&a;</int>")))}},
      {"answer of another method", {ReadRequest(), Send(Http(Result("CreateReminder", "<int>7</int>")))}},
      {"redirect", {ReadRequest(), Send(Http("", "302 Found", "Location: http://127.0.0.2:9/\r\n"))}},
  };
}

class AddinFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "addin-faults-XXXXXX").string();
    ASSERT_NE(::mkdtemp(&pattern[0]), nullptr);
    folder_ = pattern;
    ::setenv("FALCREST_REGISTRY", (folder_ + "/registry.reg").c_str(), 1);
    ::setenv("FALCREST_SHORT_DATE", "M/d/yyyy", 1);
    ::setenv("FALCREST_LONG_TIME", "h:mm:ss tt", 1);
    saved_limits_ = falcrest::http::CurrentLimits();
    falcrest::http::CurrentLimits() = {1000, 1500, 64 * 1024};
    ui::Install(&windowing);
    reminder::InstallDeviceDialogView(&view);
    Store(falcrest::kUserIdValue, "demo");
    std::string password = "demo";
    Store(falcrest::kPasswordValue, falcrest::Base64Class().Encode64(password));
    Store(falcrest::kDeviceValue, "HomeEmail");
    Store(falcrest::kWebServiceUrlValue, finder.Url());
    designer = reminder::CreateReminderDesigner();
    designer->OnConnection(outlook, 0);
  }

  void TearDown() override {
    designer->OnDisconnection(0);
    designer.reset();
    reminder::InstallDeviceDialogView(nullptr);
    ui::Install(nullptr);
    falcrest::http::CurrentLimits() = saved_limits_;
    ::unsetenv("FALCREST_REGISTRY");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  static void Store(const char* name, const std::string& value) {
    falcrest::RegistryClass settings;
    settings.SetRootKeyName(falcrest::kSettingsRootName);
    settings.SetKeyName(falcrest::kSettingsKey);
    settings.SetData(name, value);
  }
  std::string RegistryText() const {
    std::ifstream in(folder_ + "/registry.reg", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::shared_ptr<FakeAppointment> Track(const std::string& subject) {
    auto appointment = std::make_shared<FakeAppointment>(log, subject);
    outlook->inspectors->RaiseNewInspector(appointment);
    return appointment;
  }

  std::shared_ptr<addin_test::CallLog> log = std::make_shared<addin_test::CallLog>();
  std::shared_ptr<addin_test::FakeApplication> outlook = std::make_shared<addin_test::FakeApplication>(log);
  addin_test::ScriptedDialogView view;
  addin_test::RecordingWindowing windowing;
  std::shared_ptr<outlook::IDTExtensibility2> designer;
  // Finds the reminder 42 for any appointment.
  HostileServer finder{{ReadRequest(), Send(Http(Result("GetReminderIds", "<int>42</int>")))}};
  // Refuses everything.
  HostileServer recorder{{ReadRequest(), Send(Http(Fault("refused"), "500 Internal Server Error"))}};

 private:
  std::string folder_;
  falcrest::http::Limits saved_limits_;
};

TEST_F(AddinFaults, HostileAnswersLeaveNoStaleIdAndNoChangedSettings) {
  struct Handler {
    const char* name;
    std::function<void(const std::shared_ptr<FakeAppointment>&)> raise;
  };
  const std::vector<Handler> handlers = {
      {"open", [](const std::shared_ptr<FakeAppointment>& a) { a->RaiseOpen(); }},
      {"save", [](const std::shared_ptr<FakeAppointment>& a) { a->RaiseWrite(); }},
      {"deleted item", [this](const std::shared_ptr<FakeAppointment>& a) {
         outlook->session->deleted->items->RaiseItemAdd(a);
       }},
  };

  for (const HostileRow& row : Rows()) {
    for (const Handler& handler : handlers) {
      const std::string where = std::string(row.name) + ", " + handler.name;
      HostileServer hostile(row.script);

      // An appointment opened against a good service: the slot holds 42.
      Store(falcrest::kWebServiceUrlValue, finder.Url());
      auto appointment = Track("Dentist");
      appointment->RaiseOpen();

      // The hostile answer to the next handler.
      Store(falcrest::kWebServiceUrlValue, hostile.Url());
      const std::string settings = RegistryText();
      windowing.boxes.clear();
      const Clock::time_point start = Clock::now();
      handler.raise(appointment);
      const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();

      EXPECT_LT(elapsed, 3000) << where;
      EXPECT_EQ(windowing.boxes.size(), 1u) << where;
      for (const addin_test::MessageBoxShown& box : windowing.boxes) {
        EXPECT_EQ(box.caption, "Reminder Add-In Error") << where;
        EXPECT_GT(box.text.size(), 20u) << where << ": " << box.text;
      }
      EXPECT_EQ(RegistryText(), settings) << where;

      // The reminder switched off and saved: with no id left, nothing is deleted anywhere
      // (a delete goes to the address of the look-up that found the id).
      Store(falcrest::kWebServiceUrlValue, recorder.Url());
      auto connections = [&] { return finder.Connections() + recorder.Connections() + hostile.Connections(); };
      const int before = connections();
      appointment->reminderSet = false;
      appointment->RaiseWrite();
      EXPECT_EQ(connections(), before) << where << ": the save after the failure sent a request";
    }
  }
}

}  // namespace
}  // namespace faults
