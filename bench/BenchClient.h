#pragma once
// The least of a mail-and-calendar client that the add-in needs to run a save: one
// application with a calendar and a Deleted Items folder, an Inspectors collection that
// raises NewInspector, appointments that raise Open and Write, a device dialog that ticks
// the chosen rows at once and presses OK, and message boxes that are counted, not shown.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "addin/dialog/DeviceDialogView.h"
#include "addin/objectmodel/Outlook.h"
#include "addin/objectmodel/Windowing.h"

namespace bench {

class Appointment : public outlook::AppointmentItem {
 public:
  falcrest::LocalDateTime start{2030, 6, 14, 9, 30, 0};
  std::string subject;
  std::string location = "Room 4";
  std::string body = "Bring slides";
  bool reminderSet = true;
  int32_t minutesBefore = 15;

  std::string TypeName() const override { return "AppointmentItem"; }
  falcrest::LocalDateTime Start() const override { return start; }
  std::string Subject() const override { return subject; }
  std::string Location() const override { return location; }
  std::string Body() const override { return body; }
  bool ReminderSet() const override { return reminderSet; }
  int32_t ReminderMinutesBeforeStart() const override { return minutesBefore; }
  void Advise(outlook::AppointmentEvents* sink) override { sinks_.push_back(sink); }
  void Unadvise(outlook::AppointmentEvents* sink) override;

  void RaiseOpen();
  void RaiseWrite();

 private:
  std::vector<outlook::AppointmentEvents*> sinks_;
};

// The client: hands the add-in its objects and raises NewInspector.
class Client {
 public:
  Client();
  std::shared_ptr<outlook::Application> Application() const { return application_; }
  // A new window on the appointment: the add-in starts tracking it.
  void OpenInspector(const std::shared_ptr<Appointment>& appointment);

 private:
  class App;
  std::shared_ptr<App> app_;
  std::shared_ptr<outlook::Application> application_;
};

// Ticks the given device types and presses OK without waiting; adds up the time spent
// inside ShowModal, so that it can be taken out of a save's wall time.
class TickingDialog : public reminder::DeviceDialogView {
 public:
  explicit TickingDialog(std::vector<std::string> types) : types_(std::move(types)) {}
  void ShowModal(reminder::AppointmentDevices& dialog) override;
  std::chrono::nanoseconds TimeInside() const { return inside_; }
  int Shown() const { return shown_; }
  // The selection of the last OK, for checking that all chosen rows could be ticked.
  const std::string& LastSelection() const { return last_selection_; }

 private:
  std::vector<std::string> types_;
  std::chrono::nanoseconds inside_{0};
  int shown_ = 0;
  std::string last_selection_;
};

// Message boxes are errors in a benchmark run: they are kept for the report.
class CountingWindowing : public ui::Windowing {
 public:
  void MessageBox(const std::string& text, const std::string& caption, ui::Icon) override {
    messages.push_back(caption + ": " + text);
  }
  void OpenUrl(const std::string&) override {}
  void SetCursor(ui::Cursor) override {}
  void InjectLeftButton(bool) override {}
  std::vector<std::string> messages;
};

}  // namespace bench
