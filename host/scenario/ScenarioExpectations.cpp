// The expect commands of the scenario runner.
#include <ostream>

#include "host/client/FieldText.h"
#include "host/scenario/ScenarioRunner.h"
#include "host/text/Words.h"
#include "library/constants/SettingsKey.h"
#include "library/registry/RegistryClass.h"
#include "library/support/Error.h"

namespace host::scenario {
namespace {

[[noreturn]] void RaiseUsage(const std::string& description) {
  throw falcrest::Error(falcrest::error_number::kComponentBase + 0x153, "reminder-host", "Usage: " + description);
}

falcrest::RegistryClass Settings() {
  falcrest::RegistryClass settings;
  settings.SetRootKeyName(falcrest::kSettingsRootName);
  settings.SetKeyName(falcrest::kSettingsKey);
  return settings;
}

const char* IconWord(ui::Icon icon) { return icon == ui::Icon::kCritical ? "critical" : "information"; }

// Date-times match when the texts are equal or both read as the same date and time.
bool SameDateTime(const std::string& expected, const std::string& got) {
  if (expected == got) return true;
  falcrest::LocalDateTime a, b;
  return falcrest::TryParseDateTime(expected, a) && falcrest::TryParseDateTime(got, b) && a == b;
}

std::string DevicesText(const std::vector<ServiceDevice>& devices) {
  std::string text;
  for (const ServiceDevice& d : devices) {
    if (!text.empty()) text += ",";
    text += d.type + "=" + d.address;
    if (!d.provider.empty() || d.type == "SMS") text += "|" + d.provider;
  }
  return text;
}

std::string EventText(const ServiceEvent& e) {
  return Quoted(e.subject) + " start=" + Quoted(e.eventDateTime) + " remind=" + Quoted(e.remindDateTime) +
         " devices=" + Quoted(DevicesText(e.devices)) + " description=" + Quoted(e.description);
}

}  // namespace

std::vector<ServiceEvent> ScenarioRunner::ServiceEvents(const std::string& user) {
  if (serviceDatabase_.empty()) Fail("the service database named (service db PATH)", "none");
  return driver_.ServiceEvents(serviceDatabase_, user);
}

void ScenarioRunner::Expect(const std::vector<std::string>& w) {
  if (w.size() < 2) RaiseUsage("expect WHAT ...");
  const std::string what = Lower(w[1]);
  const std::string next = w.size() > 2 ? Lower(w[2]) : "";
  if (what == "message") {
    ExpectMessage(w);
  } else if (what == "no" && next == "message") {
    if (!driver_.Messages().empty()) {
      const ShownMessage& m = driver_.Messages().front();
      Fail("no message", m.caption + " " + Quoted(m.text));
    }
  } else if (what == "no" && next == "dialog") {
    const int shown = driver_.TakeShownCount();
    if (shown != 0) Fail("no device dialog", std::to_string(shown) + " shown");
  } else if (what == "dialog") {
    ExpectDialogRows(w);
  } else if (what == "url") {
    if (w.size() < 3) RaiseUsage("expect url URL");
    const std::string got = driver_.LastUrl();
    if (got != w[2]) Fail("the URL " + w[2] + " opened", got.empty() ? "none" : got);
  } else if (what == "setting") {
    if (w.size() < 3) RaiseUsage("expect setting NAME [VALUE]");
    const std::string expected = w.size() >= 4 ? JoinWords(w, 3) : "";
    const std::string got = Settings().GetData(w[2]);
    if (got != expected) Fail("setting " + w[2] + " " + Quoted(expected), Quoted(got));
  } else if (what == "service" || (what == "no" && next == "service")) {
    ExpectService(w);
  } else if (what == "options") {
    if (w.size() < 3 || next != "tabs") RaiseUsage("expect options tabs TITLE ...");
    if (!driver_.OptionsOpen()) Fail("an open Options dialog", "none");
    std::string expected = JoinWords(w, 3), got;
    const std::vector<std::string> titles = driver_.TabTitles();
    for (size_t i = 0; i < titles.size(); ++i) got += (i ? " " : "") + titles[i];
    if (got != expected) Fail("the tabs " + Quoted(expected), Quoted(got));
  } else {
    ExpectItem(w);
  }
}

void ScenarioRunner::ExpectMessage(const std::vector<std::string>& w) {
  const char* usage = "expect message CAPTION [contains] TEXT [critical|information]";
  if (w.size() < 4) RaiseUsage(usage);
  const bool contains = w.size() >= 5 && Lower(w[3]) == "contains";
  const size_t textAt = contains ? 4 : 3;
  if (w.size() > textAt + 2) RaiseUsage(usage);
  const std::string& caption = w[2];
  const std::string& text = w[textAt];
  const bool withIcon = w.size() == textAt + 2;
  std::string expected = caption + (contains ? " containing " : " ") + Quoted(text);
  if (withIcon) expected += " (" + w[textAt + 1] + ")";
  if (driver_.Messages().empty()) Fail("the message " + expected, "no message");
  ShownMessage shown = driver_.Messages().front();
  driver_.Messages().erase(driver_.Messages().begin());
  std::string got = shown.caption + " " + Quoted(shown.text);
  if (withIcon) got += std::string(" (") + IconWord(shown.icon) + ")";
  const bool textMatches = contains ? shown.text.find(text) != std::string::npos : shown.text == text;
  const bool iconMatches = !withIcon || w[textAt + 1] == IconWord(shown.icon);
  if (shown.caption != caption || !textMatches || !iconMatches) Fail("the message " + expected, got);
}

void ScenarioRunner::ExpectDialogRows(const std::vector<std::string>& w) {
  if (w.size() < 3 || Lower(w[2]) != "rows") RaiseUsage("expect dialog rows [TYPE=\"STATE [ADDRESS]\"] ...");
  if (driver_.TakeShownCount() == 0) Fail("a device dialog shown", "none since the previous expectation");
  const std::vector<DeviceDialogRow>& rows = driver_.LastRows();
  std::vector<std::string> named(rows.size());
  std::string key, value;
  for (size_t i = 3; i < w.size(); ++i) {
    if (!SplitKeyValue(w[i], key, value)) RaiseUsage("expect dialog rows TYPE=\"ticked|unticked|disabled [ADDRESS]\" ...");
    size_t row = rows.size();
    for (size_t r = 0; r < rows.size(); ++r) {
      if (rows[r].deviceType == key) row = r;
    }
    if (row == rows.size()) RaiseUsage("\"" + key + "\" is not a device type name");
    named[row] = value;
  }
  for (size_t r = 0; r < rows.size(); ++r) {
    const DeviceDialogRow& row = rows[r];
    const std::string state = !row.enabled ? "disabled" : row.ticked ? "ticked" : "unticked";
    std::string address = row.address;
    if (!row.provider.empty()) address += (address.empty() ? "" : " ") + row.provider;
    const std::string shown = address.empty() ? state : state + " " + address;
    // A row not named must be disabled and empty; a row named by its state alone is not
    // checked for its address.
    const std::string expected = named[r].empty() ? "disabled" : named[r];
    const bool stateOnly = !named[r].empty() && named[r].find(' ') == std::string::npos;
    if ((stateOnly ? state : shown) != expected) Fail("row " + row.deviceType + " " + Quoted(expected), Quoted(shown));
  }
}

void ScenarioRunner::ExpectService(const std::vector<std::string>& w) {
  const bool negated = Lower(w[1]) == "no";
  const size_t at = negated ? 3 : 2;
  if (w.size() < at + 1) RaiseUsage("expect service reminders N | expect service event SUBJECT ... | expect no service event SUBJECT");
  std::string user = Settings().GetData(falcrest::kUserIdValue);
  std::string key, value;
  for (size_t i = at + 1; i < w.size(); ++i) {
    if (SplitKeyValue(w[i], key, value) && key == "user") user = value;
  }
  const std::string what = Lower(w[at]);
  if (what == "reminders" && !negated) {
    int count = 0;
    if (w.size() < 4 || !ParseInt(w[3], count)) RaiseUsage("expect service reminders N");
    const std::vector<ServiceEvent> events = ServiceEvents(user);
    if (static_cast<int>(events.size()) != count) {
      std::string got = std::to_string(events.size());
      for (const ServiceEvent& e : events) got += "\n  " + EventText(e);
      Fail(std::to_string(count) + " reminders of " + Quoted(user) + " on the service", got);
    }
  } else if (what == "event" && negated) {
    if (w.size() < 5) RaiseUsage("expect no service event SUBJECT");
    for (const ServiceEvent& e : ServiceEvents(user)) {
      if (e.subject == w[4]) Fail("no service event " + Quoted(w[4]), EventText(e));
    }
  } else if (what == "event") {
    ExpectServiceEvent(w);
  } else {
    RaiseUsage("expect service reminders N | expect service event SUBJECT ...");
  }
}

void ScenarioRunner::ExpectServiceEvent(const std::vector<std::string>& w) {
  if (w.size() < 4) RaiseUsage("expect service event SUBJECT [start=..] [remind=..] [devices=..] [description=..]");
  std::string user = Settings().GetData(falcrest::kUserIdValue);
  std::string key, value;
  for (size_t i = 4; i < w.size(); ++i) {
    if (SplitKeyValue(w[i], key, value) && key == "user") user = value;
  }
  const std::vector<ServiceEvent> events = ServiceEvents(user);
  const ServiceEvent* found = nullptr;
  int matches = 0;
  for (const ServiceEvent& e : events) {
    if (e.subject == w[3]) {
      found = &e;
      ++matches;
    }
  }
  if (!found) Fail("a service event " + Quoted(w[3]), "none among " + std::to_string(events.size()) + " events");
  if (matches > 1) Fail("one service event " + Quoted(w[3]), std::to_string(matches));
  for (size_t i = 4; i < w.size(); ++i) {
    if (!SplitKeyValue(w[i], key, value)) RaiseUsage("write the event's fields as key=value");
    bool ok = true;
    std::string got;
    if (key == "start") {
      got = found->eventDateTime;
      ok = SameDateTime(value, got);
    } else if (key == "start-text") {
      got = found->eventDateTime;
      ok = value == got;
    } else if (key == "remind") {
      got = found->remindDateTime;
      ok = SameDateTime(value, got);
    } else if (key == "remind-text") {
      got = found->remindDateTime;
      ok = value == got;
    } else if (key == "devices") {
      got = DevicesText(found->devices);
      ok = value == got;
    } else if (key == "description") {
      got = found->description;
      ok = value == got;
    } else if (key == "user") {
      continue;
    } else {
      RaiseUsage("a service event has start, start-text, remind, remind-text, devices and description");
    }
    if (!ok) Fail(key + " " + Quoted(value) + " for " + Quoted(w[3]), Quoted(got));
  }
}

void ScenarioRunner::ExpectItem(const std::vector<std::string>& w) {
  const std::string folder = Lower(w[1]);
  if (folder != "calendar" && folder != "deleted" && folder != "inbox" && folder != "appointment") {
    RaiseUsage("unknown expectation \"" + w[1] + "\"; see host/SCENARIOS.md");
  }
  std::vector<std::shared_ptr<outlook::Item>> items;
  if (folder == "deleted") {
    items = driver_.Items().DeletedItems();
  } else if (folder == "inbox") {
    for (auto& mail : driver_.Items().InboxItems()) items.push_back(mail);
  } else {
    for (auto& appointment : driver_.Items().CalendarItems()) items.push_back(appointment);
  }
  if (folder == "appointment") {
    if (w.size() < 3) RaiseUsage("expect appointment SUBJECT [field=value ...]");
    auto appointment = driver_.Items().FindAppointment(w[2]);
    std::string key, value;
    for (size_t i = 3; i < w.size(); ++i) {
      if (!SplitKeyValue(w[i], key, value)) RaiseUsage("expect appointment SUBJECT field=value ...");
      AppointmentFields expected = appointment->SavedFields();
      ApplyField(expected, key, value);
      const AppointmentFields& got = appointment->SavedFields();
      if (AppointmentLine(expected) != AppointmentLine(got) || expected.body != got.body ||
          expected.durationMinutes != got.durationMinutes) {
        Fail(key + "=" + Quoted(value) + " saved for " + Quoted(w[2]), Quoted(AppointmentLine(got)));
      }
    }
    return;
  }
  if (w.size() >= 4 && Lower(w[2]) == "has") {
    const std::string title = JoinWords(w, 3);
    for (const auto& item : items) {
      if (ItemTitle(*item) == title) return;
    }
    Fail(Quoted(title) + " in " + folder, "none such among " + std::to_string(items.size()) + " items");
  }
  int count = 0;
  if (w.size() < 3 || !ParseInt(w[2], count)) RaiseUsage("expect calendar|deleted|inbox N | ... has SUBJECT");
  if (static_cast<int>(items.size()) != count) {
    Fail(std::to_string(count) + " items in " + folder, std::to_string(items.size()));
  }
}

}  // namespace host::scenario
