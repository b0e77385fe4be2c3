#pragma once
// A control hosted on a tab of the host's Options dialog: the page the dialog talks to
// through outlook::PropertyPage, plus what the host needs to show and drive it.
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "addin/objectmodel/Outlook.h"

namespace host {

class PageControl {
 public:
  virtual ~PageControl() = default;
  // The page as the dialog sees it: Apply, Dirty, GetPageInfo.
  virtual outlook::PropertyPage& Page() = 0;
  // Gives the page its site (the control's InitProperties), after it has been created.
  virtual void InitProperties(std::shared_ptr<outlook::PropertyPageSite> site) = 0;
  // Writes the page as the terminal shows it.
  virtual void Render(std::ostream& out) const = 0;
  // Handles one page command, already split into words ("type UserID demo", "tick SMS",
  // "click link"); returns false for a command it does not know. Errors go to `out`.
  virtual bool Command(const std::vector<std::string>& words, std::ostream& out) = 0;
  // One line per command Command() knows, for the host's help.
  virtual std::vector<std::string> CommandHelp() const = 0;
};

// Creates the control; its start-up (the control's Initialize) runs here.
using PageFactory = std::function<std::unique_ptr<PageControl>()>;

// The page controls the host can create, by ProgID (compared without regard to case).
void RegisterPage(const std::string& progId, PageFactory factory);
// Creates the control of that ProgID; raises falcrest::Error when the host does not know it.
std::unique_ptr<PageControl> CreatePage(const std::string& progId);

}  // namespace host
