#pragma once
// The client's Options dialog: built by raising OptionsPagesAdd, so that add-ins add their
// tabs through PropertyPages.Add. Each page is created by ProgID, then given its site; the
// site's OnStatusChange makes the dialog read the page's Dirty again. OK and Apply call
// Apply on the pages that are dirty; Cancel closes without applying.
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "host/objectmodel/Application.h"
#include "host/options/PageControl.h"

namespace host {

class OptionsDialog {
 public:
  // Builds the dialog: raises OptionsPagesAdd on the application. A page that cannot be
  // added is left out and its error kept in Warnings().
  explicit OptionsDialog(Application& app);
  ~OptionsDialog();
  OptionsDialog(const OptionsDialog&) = delete;
  OptionsDialog& operator=(const OptionsDialog&) = delete;

  size_t TabCount() const { return tabs_.size(); }
  const std::string& TabTitle(size_t index) const;
  PageControl& Control(size_t index);
  // The tab shown; page commands go to it.
  size_t ActiveTab() const { return active_; }
  // Selects a tab by number (1-based) or by title; false when there is none such.
  bool SelectTab(const std::string& numberOrTitle);
  // True when a page reported itself dirty the last time the dialog read it.
  bool ApplyEnabled() const;
  const std::vector<std::string>& Warnings() const { return warnings_; }

  void Render(std::ostream& out) const;
  // Forwards a command to the active page; false when it does not know it (or no page).
  bool PageCommand(const std::vector<std::string>& words, std::ostream& out);

  // OK: applies the dirty pages and closes. Apply: applies the dirty pages, stays open.
  // Cancel: closes without applying.
  void Ok();
  void Apply();
  void Cancel();
  bool Closed() const { return closed_; }

  // Called by a tab's site.
  void StatusChanged(size_t index);

 private:
  struct Tab;
  class Pages;
  class Site;
  void ApplyDirtyPages();

  std::vector<std::unique_ptr<Tab>> tabs_;
  std::vector<std::shared_ptr<Site>> sites_;
  std::vector<std::string> warnings_;
  size_t active_ = 0;
  bool closed_ = false;
};

}  // namespace host
