#include "host/options/OptionsDialog.h"

#include <ostream>

#include "library/support/Error.h"

namespace host {

struct OptionsDialog::Tab {
  std::string title;
  std::unique_ptr<PageControl> control;
  bool dirty = false;  // as the dialog last read it
};

// The site a page reports through. A page that keeps its site after the dialog has gone
// finds it inert instead of reaching a destroyed dialog.
class OptionsDialog::Site : public outlook::PropertyPageSite {
 public:
  Site(OptionsDialog* dialog, size_t index) : dialog_(dialog), index_(index) {}
  void OnStatusChange() override {
    if (dialog_) dialog_->StatusChanged(index_);
  }
  void Detach() { dialog_ = nullptr; }

 private:
  OptionsDialog* dialog_;
  size_t index_;
};

class OptionsDialog::Pages : public outlook::PropertyPages {
 public:
  explicit Pages(OptionsDialog& dialog) : dialog_(dialog) {}
  void Add(const std::string& progId, const std::string& title) override {
    auto tab = std::make_unique<Tab>();
    tab->title = title;
    tab->control = CreatePage(progId);  // the control's start-up runs here
    PageControl& control = *tab->control;
    const size_t index = dialog_.tabs_.size();
    dialog_.tabs_.push_back(std::move(tab));
    auto site = std::make_shared<Site>(&dialog_, index);
    dialog_.sites_.push_back(site);
    control.InitProperties(site);
  }

 private:
  OptionsDialog& dialog_;
};

OptionsDialog::OptionsDialog(Application& app) {
  Pages pages(*this);
  try {
    app.RaiseOptionsPagesAdd(pages);
  } catch (const falcrest::Error& e) {
    warnings_.push_back(e.Description());
  }
}

OptionsDialog::~OptionsDialog() {
  for (auto& site : sites_) site->Detach();
}

const std::string& OptionsDialog::TabTitle(size_t index) const { return tabs_.at(index)->title; }

PageControl& OptionsDialog::Control(size_t index) { return *tabs_.at(index)->control; }

bool OptionsDialog::SelectTab(const std::string& numberOrTitle) {
  for (size_t i = 0; i < tabs_.size(); ++i) {
    if (numberOrTitle == std::to_string(i + 1) || numberOrTitle == tabs_[i]->title) {
      active_ = i;
      return true;
    }
  }
  return false;
}

bool OptionsDialog::ApplyEnabled() const {
  for (const auto& tab : tabs_) {
    if (tab->dirty) return true;
  }
  return false;
}

void OptionsDialog::StatusChanged(size_t index) {
  if (index < tabs_.size()) tabs_[index]->dirty = tabs_[index]->control->Page().Dirty();
}

void OptionsDialog::Render(std::ostream& out) const {
  out << "== Options ==\n";
  if (tabs_.empty()) out << "(no pages: no add-in added a tab)\n";
  out << "Tabs:";
  for (size_t i = 0; i < tabs_.size(); ++i) {
    out << (i == active_ ? " [" : "  ") << i + 1 << ": " << tabs_[i]->title << (i == active_ ? "]" : " ");
  }
  out << "\n";
  if (!tabs_.empty()) {
    out << "--- " << tabs_[active_]->title << " ---\n";
    tabs_[active_]->control->Render(out);
  }
  out << "[ OK ]  [ Cancel ]  [ Apply" << (ApplyEnabled() ? " ]" : " (greyed) ]") << "\n";
}

bool OptionsDialog::PageCommand(const std::vector<std::string>& words, std::ostream& out) {
  if (tabs_.empty()) return false;
  return tabs_[active_]->control->Command(words, out);
}

void OptionsDialog::ApplyDirtyPages() {
  for (auto& tab : tabs_) {
    if (!tab->control->Page().Dirty()) continue;
    tab->control->Page().Apply();
    tab->dirty = tab->control->Page().Dirty();
  }
}

void OptionsDialog::Ok() {
  ApplyDirtyPages();
  closed_ = true;
}

void OptionsDialog::Apply() { ApplyDirtyPages(); }

void OptionsDialog::Cancel() { closed_ = true; }

}  // namespace host
