#include "host/terminal/Terminal.h"

#include <ctime>
#include <istream>
#include <ostream>

#include "host/client/FieldText.h"
#include "host/options/OptionsDialog.h"
#include "host/text/Words.h"
#include "library/support/Error.h"

namespace host {
namespace {

[[noreturn]] void RaiseUsage(const std::string& description) {
  throw falcrest::Error(falcrest::error_number::kComponentBase + 0x140, "reminder-host", description);
}

// The next full hour, as a new appointment's start.
falcrest::LocalDateTime NextFullHour() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  falcrest::LocalDateTime t{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, 0, 0};
  return falcrest::AddMinutes(t, 60);
}

}  // namespace

void Terminal::Run() {
  out_ << "reminder-host: calendar " << client_.CalendarPath() << "; type help for the commands\n";
  std::string line;
  while (true) {
    out_ << "> " << std::flush;
    if (!std::getline(in_, line)) {
      out_ << "\n";
      break;
    }
    if (!Execute(line)) break;
  }
}

bool Terminal::Execute(const std::string& line) {
  try {
    std::vector<std::string> words = SplitWords(line);
    if (words.empty() || words[0][0] == '#') return true;
    const std::string command = Lower(words[0]);
    std::vector<std::string> args(words.begin() + 1, words.end());
    if (command == "quit" || command == "exit") return false;
    if (command == "help") {
      Help();
    } else if (command == "list") {
      List();
    } else if (command == "new" && !args.empty() && Lower(args[0]) == "appointment") {
      NewAppointment({args.begin() + 1, args.end()});
    } else if (command == "new" && !args.empty() && Lower(args[0]) == "mail") {
      std::string subject, body, key, value;
      for (size_t i = 1; i < args.size(); ++i) {
        if (!SplitKeyValue(args[i], key, value)) RaiseUsage("Write the mail's fields as subject=... body=...");
        if (EqualsNoCase(key, "subject")) subject = value;
        else if (EqualsNoCase(key, "body")) body = value;
        else RaiseUsage("A mail has the fields subject and body");
      }
      if (args.size() == 1 && !Ask("Subject: ", subject)) return true;
      client_.NewMail(subject, body);
      out_ << "Mail \"" << subject << "\" is in the Inbox\n";
    } else if (command == "new" && !args.empty() && Lower(args[0]) == "contact") {
      std::string name = JoinWords(args, 1);
      if (name.empty() && !Ask("Full name: ", name)) return true;
      client_.NewContact(name);
      out_ << "Contact \"" << name << "\" is in Contacts\n";
    } else if (command == "open") {
      Open(args);
    } else if (command == "show") {
      ShowActive();
    } else if (command == "edit") {
      if (args.size() < 2) RaiseUsage("Usage: edit FIELD VALUE (fields: subject, start, location, body, reminder, duration)");
      client_.Edit(args[0], JoinWords(args, 1));
      ShowActive();
    } else if (command == "save") {
      out_ << (client_.Save() ? "Saved\n" : "The save was cancelled\n");
    } else if (command == "close") {
      client_.Close();
      out_ << "Closed\n";
    } else if (command == "delete") {
      Delete(args);
    } else if (command == "options") {
      if (!Options()) return false;
    } else {
      out_ << "Unknown command \"" << words[0] << "\"; type help for the commands\n";
    }
  } catch (const falcrest::Error& e) {
    out_ << "error: " << e.Description() << "\n";
  }
  return true;
}

void Terminal::Help() {
  out_ << "Commands:\n"
          "  list                          the Calendar, Deleted Items and the Inbox, numbered\n"
          "  new appointment [k=v ...]     a new appointment in an inspector; fields subject, start\n"
          "                                (2026-12-10 09:00), location, body, reminder (minutes or off),\n"
          "                                duration; without fields you are asked for them\n"
          "  open N                        open appointment N of the Calendar in an inspector\n"
          "  open deleted N | open mail N  open an item of Deleted Items or the Inbox\n"
          "  show                          the item of the active inspector\n"
          "  edit FIELD VALUE              change a field of the open appointment\n"
          "  save                          save the open item\n"
          "  close                         close the active inspector (unsaved changes are dropped)\n"
          "  delete [N]                    move appointment N (or the open item) to Deleted Items\n"
          "  delete deleted N | delete mail N\n"
          "  new mail [subject=..]         a mail in the Inbox;  new contact NAME: a contact\n"
          "  options                       the Options dialog (tabs, the pages' commands, ok/apply/cancel)\n"
          "  help, quit\n";
}

void Terminal::List() {
  auto calendar = client_.CalendarItems();
  out_ << "Calendar (" << calendar.size() << ")\n";
  for (size_t i = 0; i < calendar.size(); ++i) {
    out_ << "  " << i + 1 << ". " << AppointmentLine(calendar[i]->Fields()) << "\n";
  }
  auto deleted = client_.DeletedItems();
  out_ << "Deleted Items (" << deleted.size() << ")\n";
  for (size_t i = 0; i < deleted.size(); ++i) {
    out_ << "  " << i + 1 << ". " << deleted[i]->TypeName() << "  " << ItemTitle(*deleted[i]) << "\n";
  }
  auto inbox = client_.InboxItems();
  out_ << "Inbox (" << inbox.size() << ")\n";
  for (size_t i = 0; i < inbox.size(); ++i) out_ << "  " << i + 1 << ". " << inbox[i]->subject << "\n";
}

void Terminal::ShowActive() {
  auto item = client_.ActiveItem();
  auto appointment = std::dynamic_pointer_cast<Appointment>(item);
  if (!appointment) {
    out_ << "[" << item->TypeName() << "] " << ItemTitle(*item) << "\n";
    return;
  }
  const AppointmentFields& f = appointment->Fields();
  out_ << "[Appointment" << (appointment->Modified() ? ", not saved" : "") << "]\n"
       << "  Subject:  " << f.subject << "\n"
       << "  Start:    " << StartText(f.start) << "  (" << f.durationMinutes << " minutes)\n"
       << "  Location: " << f.location << "\n"
       << "  Body:     " << f.body << "\n"
       << "  Reminder: " << ReminderText(f) << "\n";
}

bool Terminal::Ask(const std::string& prompt, std::string& answer) {
  out_ << prompt << std::flush;
  if (!std::getline(in_, answer)) return false;
  if (!answer.empty() && answer.back() == '\r') answer.pop_back();
  return true;
}

void Terminal::NewAppointment(const std::vector<std::string>& args) {
  AppointmentFields fields;
  fields.start = NextFullHour();
  if (args.empty()) {
    const char* prompts[][2] = {{"subject", "Subject: "},
                                {"start", "Start (2026-12-10 09:00, empty for the next hour): "},
                                {"location", "Location: "},
                                {"body", "Body: "},
                                {"reminder", "Reminder (minutes before, or off; empty for 15): "}};
    for (const auto& prompt : prompts) {
      std::string answer;
      if (!Ask(prompt[1], answer)) return;
      if (!answer.empty()) ApplyField(fields, prompt[0], answer);
    }
  }
  std::string key, value;
  for (const std::string& arg : args) {
    if (!SplitKeyValue(arg, key, value)) RaiseUsage("Write the fields as key=value, for example subject=\"Team meeting\"");
    ApplyField(fields, key, value);
  }
  client_.NewAppointment(fields);
  ShowActive();
  out_ << "(save to keep it, close to drop it)\n";
}

std::shared_ptr<outlook::Item> Terminal::Numbered(const std::string& folder, const std::string& number) {
  int n = 0;
  if (!ParseInt(number, n) || n < 1) RaiseUsage("\"" + number + "\" is not a number from the list");
  std::vector<std::shared_ptr<outlook::Item>> items;
  if (folder == "deleted") {
    items = client_.DeletedItems();
  } else if (folder == "mail") {
    for (auto& mail : client_.InboxItems()) items.push_back(mail);
  } else {
    for (auto& appointment : client_.CalendarItems()) items.push_back(appointment);
  }
  if (static_cast<size_t>(n) > items.size()) RaiseUsage("There is no item " + number + " there; type list");
  return items[n - 1];
}

void Terminal::Open(const std::vector<std::string>& args) {
  if (args.empty()) RaiseUsage("Usage: open N, open deleted N, open mail N");
  auto item = args.size() >= 2 ? Numbered(Lower(args[0]), args[1]) : Numbered("calendar", args[0]);
  if (!client_.Open(item)) {
    out_ << "The item was not opened\n";
    return;
  }
  ShowActive();
}

void Terminal::Delete(const std::vector<std::string>& args) {
  std::shared_ptr<outlook::Item> item;
  if (args.empty()) {
    item = client_.ActiveItem();
  } else {
    item = args.size() >= 2 ? Numbered(Lower(args[0]), args[1]) : Numbered("calendar", args[0]);
  }
  const std::string title = ItemTitle(*item);
  client_.Delete(item);
  out_ << "Deleted \"" << title << "\"\n";
}

bool Terminal::Options() {
  OptionsDialog dialog(client_.App());
  for (const std::string& warning : dialog.Warnings()) out_ << "warning: a page could not be added: " << warning << "\n";
  dialog.Render(out_);
  std::string line;
  bool quit = false;
  while (!dialog.Closed()) {
    out_ << "options> " << std::flush;
    if (!std::getline(in_, line)) {
      dialog.Cancel();
      out_ << "\n";
      break;
    }
    try {
      std::vector<std::string> words = SplitWords(line);
      if (words.empty() || words[0][0] == '#') continue;
      const std::string command = Lower(words[0]);
      if (command == "quit" || command == "exit") {
        // Leaving the client closes its dialogs as Cancel does: nothing is applied.
        dialog.Cancel();
        quit = true;
      } else if (command == "ok") {
        dialog.Ok();
      } else if (command == "apply") {
        dialog.Apply();
        dialog.Render(out_);
      } else if (command == "cancel") {
        dialog.Cancel();
      } else if (command == "show") {
        dialog.Render(out_);
      } else if (command == "tab" && words.size() >= 2) {
        if (!dialog.SelectTab(JoinWords(words, 1))) out_ << "No such tab\n";
        dialog.Render(out_);
      } else if (command == "help") {
        out_ << "  tab N | show | ok | apply | cancel | quit (cancel and leave the client)\n";
        if (dialog.TabCount() > 0) {
          for (const std::string& help : dialog.Control(dialog.ActiveTab()).CommandHelp()) out_ << "  " << help << "\n";
        }
      } else if (dialog.PageCommand(words, out_)) {
        dialog.Render(out_);
      } else {
        out_ << "Unknown command \"" << words[0] << "\"; type help\n";
      }
    } catch (const falcrest::Error& e) {
      out_ << "error: " << e.Description() << "\n";
    }
  }
  out_ << "Options closed\n";
  return !quit;
}

}  // namespace host
