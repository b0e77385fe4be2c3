#include "host/windowing/ScriptedWindowing.h"

#include <ostream>

#include "host/windowing/TerminalWindowing.h"

namespace host {

void ScriptedWindowing::MessageBox(const std::string& text, const std::string& caption, ui::Icon icon) {
  PrintMessageBox(out_, text, caption, icon);
  pending_.push_back({caption, text, icon});
}

void ScriptedWindowing::OpenUrl(const std::string& url) {
  out_ << "Opening " << url << "\n";
  lastUrl_ = url;
}

}  // namespace host
