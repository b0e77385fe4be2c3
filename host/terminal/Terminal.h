#pragma once
// The interactive front end: one command per line from the input (a terminal or a pipe).
// "help" lists the commands.
#include <iosfwd>
#include <string>
#include <vector>

#include "host/client/Client.h"

namespace host {

class Terminal {
 public:
  Terminal(Client& client, std::istream& in, std::ostream& out) : client_(client), in_(in), out_(out) {}
  // Runs until "quit" or the end of input.
  void Run();
  // Runs one command line; false when it asks to quit.
  bool Execute(const std::string& line);

 private:
  void Help();
  void List();
  void ShowActive();
  void NewAppointment(const std::vector<std::string>& args);
  void Open(const std::vector<std::string>& args);
  void Delete(const std::vector<std::string>& args);
  // The Options dialog until OK, Cancel or the end of input; false when "quit" was typed in it.
  bool Options();
  bool Ask(const std::string& prompt, std::string& answer);
  std::shared_ptr<outlook::Item> Numbered(const std::string& folder, const std::string& number);

  Client& client_;
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace host
