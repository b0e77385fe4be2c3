#include "host/windowing/TerminalWindowing.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <ostream>
#include <sstream>

extern char** environ;

namespace host {
namespace {

// Starts xdg-open detached from our input and output; false when it cannot be started.
bool LaunchBrowser(const std::string& url) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::string program = "xdg-open";
  char* argv[] = {program.data(), const_cast<char*>(url.c_str()), nullptr};
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, "xdg-open", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);  // xdg-open hands the page to the browser and returns at once
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

const char* IconWord(ui::Icon icon) { return icon == ui::Icon::kCritical ? "critical" : "information"; }

void PrintMessageBox(std::ostream& out, const std::string& text, const std::string& caption, ui::Icon icon) {
  out << "+-- " << caption << " (" << IconWord(icon) << ") --\n";
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out << "| " << line << "\n";
  }
  out << "+-- [ OK ]\n";
  out.flush();
}

void TerminalWindowing::MessageBox(const std::string& text, const std::string& caption, ui::Icon icon) {
  PrintMessageBox(out_, text, caption, icon);
}

void TerminalWindowing::OpenUrl(const std::string& url) {
  out_ << "Opening " << url << "\n";
  if (launchBrowser_ && !LaunchBrowser(url)) out_ << "(no browser could be started: open the address yourself)\n";
  out_.flush();
}

}  // namespace host
