#include "host/scenario/ScenarioRunner.h"

#include <ostream>

#include "host/client/FieldText.h"
#include "host/text/Words.h"
#include "library/constants/SettingsKey.h"
#include "library/registry/RegistryClass.h"
#include "library/support/Error.h"

namespace host::scenario {
namespace {

[[noreturn]] void RaiseUsage(const std::string& description) {
  throw falcrest::Error(falcrest::error_number::kComponentBase + 0x152, "reminder-host", description);
}

void NeedWords(const std::vector<std::string>& words, size_t count, const char* usage) {
  if (words.size() < count) RaiseUsage(std::string("Usage: ") + usage);
}

}  // namespace

void Fail(const std::string& expected, const std::string& got) { throw Failure{"expected " + expected + ", got " + got}; }

void ScenarioRunner::StartClient() {
  for (const std::string& progId : driver_.StartClient(out_)) out_ << "(add-in " << progId << " connected)\n";
}

int ScenarioRunner::Run(const Script& script) {
  const Step* current = nullptr;
  auto where = [&](int line) { return script.file + ":" + std::to_string(line) + ": "; };
  try {
    StartClient();
    for (const Step& step : script.steps) {
      current = &step;
      out_ << "> " << step.text << "\n";
      Execute(step);
      driver_.Settle();
      std::string failure = driver_.TakeFailure();
      if (!failure.empty()) throw Failure{failure};
    }
    const int last = script.steps.empty() ? 0 : script.steps.back().line;
    if (driver_.QueuedAnswers() > 0) {
      err_ << where(last) << "expected every queued dialog answer to be used, got " << driver_.QueuedAnswers()
           << " left\n";
      return 1;
    }
    if (!driver_.Messages().empty()) {
      const ShownMessage& m = driver_.Messages().front();
      err_ << where(last) << "expected no message left unchecked, got " << m.caption << " " << Quoted(m.text) << "\n";
      return 1;
    }
  } catch (const Failure& failure) {
    err_ << where(current ? current->line : 0) << failure.text << "\n";
    return 1;
  } catch (const falcrest::Error& e) {
    err_ << where(current ? current->line : 0) << "error: " << e.Description() << "\n";
    return 1;
  }
  out_ << "Scenario passed: " << script.steps.size() << " steps\n";
  return 0;
}

void ScenarioRunner::Execute(const Step& step) {
  const std::vector<std::string>& w = step.words;
  const std::string command = Lower(w[0]);
  if (command == "echo") {
    out_ << JoinWords(w, 1) << "\n";
  } else if (command == "new") {
    NewItem(w);
  } else if (command == "open") {
    OpenItem(w);
  } else if (command == "edit") {
    NeedWords(w, 3, "edit FIELD VALUE");
    driver_.Items().Edit(w[1], JoinWords(w, 2));
  } else if (command == "save") {
    if (!driver_.Items().Save()) out_ << "(the save was cancelled)\n";
  } else if (command == "close") {
    driver_.Items().Close();
  } else if (command == "delete") {
    DeleteItem(w);
  } else if (command == "dialog") {
    DialogAnswerCommand(step);
  } else if (command == "expect") {
    Expect(w);
    driver_.TakeShownCount();  // dialog expectations count from the previous expectation
  } else if (command == "setting") {
    Setting(w);
  } else if (command == "options") {
    Options(w);
  } else if (command == "page") {
    Page(w);
  } else if (command == "service") {
    NeedWords(w, 3, "service db PATH");
    if (Lower(w[1]) != "db") RaiseUsage("Usage: service db PATH");
    serviceDatabase_ = w[2];
  } else if (command == "restart") {
    out_ << "(the client stops and starts again)\n";
    StartClient();
  } else {
    RaiseUsage("Unknown command \"" + w[0] + "\"; the commands are listed in host/SCENARIOS.md");
  }
}

void ScenarioRunner::NewItem(const std::vector<std::string>& w) {
  NeedWords(w, 2, "new appointment|mail|contact ...");
  const std::string kind = Lower(w[1]);
  std::string key, value;
  if (kind == "appointment") {
    AppointmentFields fields;
    for (size_t i = 2; i < w.size(); ++i) {
      if (!SplitKeyValue(w[i], key, value)) RaiseUsage("Write the fields as key=value: \"" + w[i] + "\"");
      ApplyField(fields, key, value);
    }
    driver_.Items().NewAppointment(fields);
  } else if (kind == "mail") {
    std::string subject, body;
    for (size_t i = 2; i < w.size(); ++i) {
      if (!SplitKeyValue(w[i], key, value)) RaiseUsage("Write the fields as key=value: \"" + w[i] + "\"");
      if (EqualsNoCase(key, "subject")) subject = value;
      else if (EqualsNoCase(key, "body")) body = value;
      else RaiseUsage("A mail has the fields subject and body");
    }
    driver_.Items().NewMail(subject, body);
  } else if (kind == "contact") {
    NeedWords(w, 3, "new contact NAME");
    driver_.Items().NewContact(JoinWords(w, 2));
  } else {
    RaiseUsage("new takes appointment, mail or contact");
  }
}

void ScenarioRunner::OpenItem(const std::vector<std::string>& w) {
  NeedWords(w, 2, "open SUBJECT | open mail SUBJECT | open deleted SUBJECT");
  std::shared_ptr<outlook::Item> item;
  const std::string kind = Lower(w[1]);
  if (kind == "mail" && w.size() >= 3) {
    item = driver_.Items().FindMail(JoinWords(w, 2));
  } else if (kind == "deleted" && w.size() >= 3) {
    const std::string subject = JoinWords(w, 2);
    for (const auto& candidate : driver_.Items().DeletedItems()) {
      if (ItemTitle(*candidate) == subject) item = candidate;
    }
    if (!item) RaiseUsage("Nothing in Deleted Items is called \"" + subject + "\"");
  } else {
    item = driver_.Items().FindAppointment(JoinWords(w, 1));
  }
  if (!driver_.Items().Open(item)) out_ << "(the item was not opened)\n";
}

void ScenarioRunner::DeleteItem(const std::vector<std::string>& w) {
  NeedWords(w, 2, "delete SUBJECT | delete mail SUBJECT | delete deleted SUBJECT");
  const std::string kind = Lower(w[1]);
  if (kind == "mail" && w.size() >= 3) {
    driver_.Items().Delete(driver_.Items().FindMail(JoinWords(w, 2)));
  } else if (kind == "deleted" && w.size() >= 3) {
    const std::string subject = JoinWords(w, 2);
    for (const auto& candidate : driver_.Items().DeletedItems()) {
      if (ItemTitle(*candidate) == subject) {
        driver_.Items().Delete(candidate);
        return;
      }
    }
    RaiseUsage("Nothing in Deleted Items is called \"" + subject + "\"");
  } else {
    driver_.Items().Delete(driver_.Items().FindAppointment(JoinWords(w, 1)));
  }
}

void ScenarioRunner::DialogAnswerCommand(const Step& step) {
  const std::vector<std::string>& w = step.words;
  const char* usage = "dialog answer [tick LIST] [untick LIST] [only LIST] ok|cancel|close";
  NeedWords(w, 3, usage);
  if (Lower(w[1]) != "answer") RaiseUsage(std::string("Usage: ") + usage);
  DialogAnswer answer;
  answer.origin = "line " + std::to_string(step.line);
  size_t i = 2;
  while (i + 1 < w.size()) {
    const std::string verb = Lower(w[i]);
    std::vector<std::string> list = SplitComma(w[i + 1]);
    if (verb == "tick") {
      answer.tick.insert(answer.tick.end(), list.begin(), list.end());
    } else if (verb == "untick") {
      answer.untick.insert(answer.untick.end(), list.begin(), list.end());
    } else if (verb == "only") {
      answer.onlyTicked = true;
      answer.tick.insert(answer.tick.end(), list.begin(), list.end());
    } else {
      RaiseUsage(std::string("Usage: ") + usage);
    }
    i += 2;
  }
  if (i != w.size() - 1) RaiseUsage(std::string("Usage: ") + usage);
  const std::string end = Lower(w[i]);
  if (end == "ok") answer.end = DialogAnswer::End::kOk;
  else if (end == "cancel") answer.end = DialogAnswer::End::kCancel;
  else if (end == "close") answer.end = DialogAnswer::End::kClose;
  else RaiseUsage(std::string("Usage: ") + usage);
  driver_.QueueAnswer(std::move(answer));
}

void ScenarioRunner::Options(const std::vector<std::string>& w) {
  NeedWords(w, 2, "options open|ok|apply|cancel|tab N|TITLE");
  const std::string action = Lower(w[1]);
  if (action == "open") {
    driver_.OpenOptions(out_);
    return;
  }
  if (!driver_.OptionsOpen()) Fail("an open Options dialog", "none (use options open)");
  if (action == "ok") {
    driver_.Press(Driver::Button::kOk);
  } else if (action == "apply") {
    driver_.Press(Driver::Button::kApply);
  } else if (action == "cancel") {
    driver_.Press(Driver::Button::kCancel);
  } else if (action == "tab") {
    NeedWords(w, 3, "options tab N|TITLE");
    if (!driver_.SelectTab(JoinWords(w, 2))) Fail("a tab " + JoinWords(w, 2), "none such");
  } else {
    RaiseUsage("Usage: options open|ok|apply|cancel|tab N|TITLE");
  }
  if (driver_.OptionsOpen()) {
    driver_.ShowOptions(out_);
  } else {
    out_ << "(Options closed)\n";
  }
}

void ScenarioRunner::Page(const std::vector<std::string>& w) {
  NeedWords(w, 2, "page COMMAND ...");
  if (!driver_.OptionsOpen()) Fail("an open Options dialog", "none (use options open)");
  const std::vector<std::string> words(w.begin() + 1, w.end());
  std::string reason;
  if (!driver_.PageCommand(words, out_, reason)) {
    Fail("a command the page knows", Quoted(JoinWords(words, 0)) + (reason.empty() ? "" : " (" + reason + ")"));
  }
}

void ScenarioRunner::Setting(const std::vector<std::string>& w) {
  NeedWords(w, 2, "setting NAME [VALUE]");
  falcrest::RegistryClass settings;
  settings.SetRootKeyName(falcrest::kSettingsRootName);
  settings.SetKeyName(falcrest::kSettingsKey);
  settings.SetData(w[1], w.size() >= 3 ? JoinWords(w, 2) : "");
}

}  // namespace host::scenario
