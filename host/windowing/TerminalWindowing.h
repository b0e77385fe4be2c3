#pragma once
// Windowing on a terminal: message boxes printed with caption, icon word and text; web
// pages opened with xdg-open where there is one (the URL is always printed).
#include <iosfwd>
#include <string>

#include "addin/objectmodel/Windowing.h"

namespace host {

// "critical" or "information".
const char* IconWord(ui::Icon icon);
// Writes a message box as the terminal shows it.
void PrintMessageBox(std::ostream& out, const std::string& text, const std::string& caption, ui::Icon icon);

class TerminalWindowing : public ui::Windowing {
 public:
  // launchBrowser: also start xdg-open for OpenUrl.
  TerminalWindowing(std::ostream& out, bool launchBrowser) : out_(out), launchBrowser_(launchBrowser) {}
  void MessageBox(const std::string& text, const std::string& caption, ui::Icon icon) override;
  void OpenUrl(const std::string& url) override;
  void SetCursor(ui::Cursor) override {}
  void InjectLeftButton(bool) override {}

 private:
  std::ostream& out_;
  bool launchBrowser_;
};

}  // namespace host
