#pragma once
// The settings page: a tab of the Options dialog on which the user enters the service
// account, sees the devices the account has registered with the service and chooses the
// default devices. The controls are data (PageLayout) that the host's views render; the
// views call the event handlers below for what the user does.
#include <cstdint>
#include <memory>
#include <string>

#include "addin/objectmodel/Outlook.h"
#include "optionspage/page/PageLayout.h"

namespace orvane {

class ReminderSetting : public outlook::PropertyPage {
 public:
  // The page's own state; everything starts false or empty.
  struct State {
    bool PageDirty = false;   // edits not yet applied; the value of Dirty
    bool SiteReady = false;   // the page has its site; edits count only from then on
    std::shared_ptr<outlook::PropertyPageSite> PageSite;
    std::string LoadedUserID;    // the user ID shown when the page was built
    std::string LoadedPassword;  // the decoded password shown when the page was built
    bool HyperlinkHot = false;   // the pointer is over the link and the link is underlined
  };

  // Start-up (the control's Initialize): writes the default settings when there are none,
  // shows the stored account and asks the service for the account's devices. An error is
  // shown as "Add-In Error" and leaves the page as far as it was filled.
  ReminderSetting();

  // The container hands the page its site; edits mark the page dirty from now on.
  void InitProperties(std::shared_ptr<outlook::PropertyPageSite> site);

  // outlook::PropertyPage. Apply shows its errors itself and always returns normally.
  void Apply() override;
  bool Dirty() const override { return state_.PageDirty; }
  // The page has no help: sets neither argument.
  void GetPageInfo(std::string& HelpFile, int32_t& HelpContext) override;

  // The user (or start-up) sets the text of a box; raises its Change event when the text
  // differs from what the box holds.
  void SetUserIdText(const std::string& text);
  void SetPasswordText(const std::string& text);
  // The user clicks the check box of a row (0..9, table order): the value toggles. A click
  // on a disabled box does nothing and gives false.
  bool ClickCheckBox(size_t row);

  // The link's events; X and Y are in the label's own coordinates, in twips.
  void lblHyperlink_Click();
  void lblHyperlink_MouseMove(int X, int Y);
  void lblHyperlink_MouseUp();
  // Underlines the link (or not) and remembers it in HyperlinkHot.
  void HighlightHyperlink(bool on);
  // The link's size as a view draws it, in twips; the pointer is over the link within it.
  // Until a view tells, the layout's estimate of the caption counts.
  void SetLinkExtent(int width, int height);
  // True when the point (the link's own twips) is over the link.
  bool InsideLink(int X, int Y) const;

  const State& PageState() const { return state_; }
  const PageLayout& Layout() const { return layout_; }
  const std::string& UserIdText() const { return layout_.At("txtUserID").caption; }
  const std::string& PasswordText() const { return layout_.At("txtPassword").caption; }
  bool IsChecked(size_t row) const { return layout_.CheckBox(row).value == 1; }
  // True when start-up ended in an error.
  bool StartupFailed() const { return startupFailed_; }

 private:
  void Initialize();
  void SetBoxText(const char* box, const std::string& text);
  void SetCheckBoxValue(size_t row, int value);
  // The Change and Click handlers of the text boxes and check boxes.
  void OnEdit();

  State state_;
  PageLayout layout_;
  int linkWidth_ = -1;  // as drawn; -1 until a view tells
  int linkHeight_ = -1;
  bool startupFailed_ = false;
};

}  // namespace orvane
