#include "host/win32/Runner.h"

#include <cstdlib>
#include <ostream>

#include "host/client/FieldText.h"
#include "host/text/Words.h"
#include "library/constants/SettingsKey.h"
#include "library/registry/RegistryClass.h"
#include "library/support/Error.h"

namespace host::win32 {
namespace {

[[noreturn]] void RaiseUsage(const std::string& description) {
  throw falcrest::Error(falcrest::error_number::kComponentBase + 0x152, "reminder-host", description);
}

void NeedWords(const std::vector<std::string>& words, size_t count, const char* usage) {
  if (words.size() < count) RaiseUsage(std::string("Usage: ") + usage);
}

// Lets posted messages (a dismissed box, a closing dialog) reach their windows.
void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

void Fail(const std::string& expected, const std::string& got) { throw Failure{"expected " + expected + ", got " + got}; }

Runner::Runner(std::ostream& transcript, std::ostream& errors) : out_(transcript), err_(errors), watch_(transcript) {}

Runner::~Runner() {
  options_.reset();
  client_.reset();
}

void Runner::StartClient() {
  options_.reset();
  if (client_) {
    client_->Restart(out_);
  } else {
    client_ = std::make_unique<WinClient>();
    client_->Start(out_);
  }
  for (const std::string& progId : client_->Addins()) out_ << "(add-in " << progId << " connected)\n";
}

int Runner::Run(const scenario::Script& script) {
  const scenario::Step* current = nullptr;
  auto where = [&](int line) { return script.file + ":" + std::to_string(line) + ": "; };
  try {
    MainWindow();
    StartClient();
    for (const scenario::Step& step : script.steps) {
      current = &step;
      out_ << "> " << step.text << "\n";
      Execute(step);
      Pump();
      std::string failure = watch_.TakeFailure();
      if (!failure.empty()) throw Failure{failure};
    }
    const int last = script.steps.empty() ? 0 : script.steps.back().line;
    if (watch_.QueuedAnswers() > 0) {
      err_ << where(last) << "expected every queued dialog answer to be used, got " << watch_.QueuedAnswers()
           << " left\n";
      return 1;
    }
    if (!watch_.Pending().empty()) {
      const ShownMessage& m = watch_.Pending().front();
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

void Runner::Execute(const scenario::Step& step) {
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
    client_->Edit(w[1], JoinWords(w, 2));
  } else if (command == "save") {
    if (!client_->Save()) out_ << "(the save was cancelled)\n";
  } else if (command == "close") {
    client_->Close();
  } else if (command == "delete") {
    DeleteItem(w);
  } else if (command == "dialog") {
    DialogAnswerCommand(step);
  } else if (command == "expect") {
    Expect(w);
    watch_.TakeShownCount();  // dialog expectations count from the previous expectation
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

void Runner::NewItem(const std::vector<std::string>& w) {
  NeedWords(w, 2, "new appointment|mail|contact ...");
  const std::string kind = Lower(w[1]);
  std::string key, value;
  if (kind == "appointment") {
    AppointmentFields fields;
    for (size_t i = 2; i < w.size(); ++i) {
      if (!SplitKeyValue(w[i], key, value)) RaiseUsage("Write the fields as key=value: \"" + w[i] + "\"");
      ApplyField(fields, key, value);
    }
    client_->NewAppointment(fields);
  } else if (kind == "mail") {
    std::string subject, body;
    for (size_t i = 2; i < w.size(); ++i) {
      if (!SplitKeyValue(w[i], key, value)) RaiseUsage("Write the fields as key=value: \"" + w[i] + "\"");
      if (EqualsNoCase(key, "subject")) subject = value;
      else if (EqualsNoCase(key, "body")) body = value;
      else RaiseUsage("A mail has the fields subject and body");
    }
    client_->NewMail(subject, body);
  } else if (kind == "contact") {
    NeedWords(w, 3, "new contact NAME");
    client_->NewContact(JoinWords(w, 2));
  } else {
    RaiseUsage("new takes appointment, mail or contact");
  }
}

void Runner::OpenItem(const std::vector<std::string>& w) {
  NeedWords(w, 2, "open SUBJECT | open mail SUBJECT | open deleted SUBJECT");
  std::shared_ptr<outlook::Item> item;
  const std::string kind = Lower(w[1]);
  if (kind == "mail" && w.size() >= 3) {
    item = client_->FindMail(JoinWords(w, 2));
  } else if (kind == "deleted" && w.size() >= 3) {
    const std::string subject = JoinWords(w, 2);
    for (const auto& candidate : client_->DeletedItems()) {
      if (ItemTitle(*candidate) == subject) item = candidate;
    }
    if (!item) RaiseUsage("Nothing in Deleted Items is called \"" + subject + "\"");
  } else {
    item = client_->FindAppointment(JoinWords(w, 1));
  }
  if (!client_->Open(item)) out_ << "(the item was not opened)\n";
}

void Runner::DeleteItem(const std::vector<std::string>& w) {
  NeedWords(w, 2, "delete SUBJECT | delete mail SUBJECT | delete deleted SUBJECT");
  const std::string kind = Lower(w[1]);
  if (kind == "mail" && w.size() >= 3) {
    client_->Delete(client_->FindMail(JoinWords(w, 2)));
  } else if (kind == "deleted" && w.size() >= 3) {
    const std::string subject = JoinWords(w, 2);
    for (const auto& candidate : client_->DeletedItems()) {
      if (ItemTitle(*candidate) == subject) {
        client_->Delete(candidate);
        return;
      }
    }
    RaiseUsage("Nothing in Deleted Items is called \"" + subject + "\"");
  } else {
    client_->Delete(client_->FindAppointment(JoinWords(w, 1)));
  }
}

void Runner::DialogAnswerCommand(const scenario::Step& step) {
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
  watch_.Queue(std::move(answer));
}

void Runner::Options(const std::vector<std::string>& w) {
  NeedWords(w, 2, "options open|ok|apply|cancel|tab N");
  const std::string action = Lower(w[1]);
  if (action == "open") {
    ComModel& model = client_->Model();
    options_ = std::make_unique<OptionsDialog>(MainWindow(), client_->Application(),
                                               [&model](IDispatch* pages) { model.RaiseOptionsPagesAdd(pages); });
    options_->Open();
    return;
  }
  if (!options_ || !options_->IsOpen()) Fail("an open Options dialog", "none (use options open)");
  if (action == "ok") {
    options_->Ok();
  } else if (action == "apply") {
    options_->Apply();
  } else if (action == "cancel") {
    options_->Cancel();
  } else if (action == "tab") {
    int index = 0;
    if (w.size() < 3 || !ParseInt(w[2], index)) RaiseUsage("Usage: options tab N");
    options_->SelectTab(index);
  } else {
    RaiseUsage("Usage: options open|ok|apply|cancel|tab N");
  }
  if (!options_->IsOpen()) out_ << "(Options closed)\n";
}

void Runner::Page(const std::vector<std::string>& w) {
  NeedWords(w, 2, "page COMMAND ...");
  if (!options_ || !options_->IsOpen()) Fail("an open Options dialog", "none (use options open)");
  std::vector<std::wstring> words;
  for (size_t i = 1; i < w.size(); ++i) words.push_back(Wide(w[i]));
  std::wstring error;
  if (!options_->PageCommand(words, error)) {
    Fail("a command the page knows", Quoted(JoinWords(w, 1)) + (error.empty() ? "" : " (" + Utf8(error.c_str()) + ")"));
  }
}

void Runner::Setting(const std::vector<std::string>& w) {
  NeedWords(w, 2, "setting NAME [VALUE]");
  falcrest::RegistryClass settings;
  settings.SetRootKeyName(falcrest::kSettingsRootName);
  settings.SetKeyName(falcrest::kSettingsKey);
  settings.SetData(w[1], w.size() >= 3 ? JoinWords(w, 2) : "");
}

}  // namespace host::win32
