#pragma once
// Windowing for scenarios: records every message box and every URL opened, and echoes
// them to the transcript, so that a script can state what the user should have seen.
#include <iosfwd>
#include <string>
#include <vector>

#include "addin/objectmodel/Windowing.h"

namespace host {

struct ShownMessage {
  std::string caption;
  std::string text;
  ui::Icon icon = ui::Icon::kInformation;
};

class ScriptedWindowing : public ui::Windowing {
 public:
  explicit ScriptedWindowing(std::ostream& transcript) : out_(transcript) {}
  void MessageBox(const std::string& text, const std::string& caption, ui::Icon icon) override;
  void OpenUrl(const std::string& url) override;
  void SetCursor(ui::Cursor) override {}
  void InjectLeftButton(bool) override {}

  // Messages shown and not yet taken by an expectation, oldest first.
  std::vector<ShownMessage>& Pending() { return pending_; }
  // The last URL opened; empty when none was.
  const std::string& LastUrl() const { return lastUrl_; }

 private:
  std::ostream& out_;
  std::vector<ShownMessage> pending_;
  std::string lastUrl_;
};

}  // namespace host
