// The terminal's modal dialogs: how each way of leaving the Options dialog treats a dirty
// page ("quit" typed inside it leaves the client without applying), and what the device
// dialog does with words that are not row numbers.
#include <gtest/gtest.h>

#include <sstream>

#include "HostTestSupport.h"
#include "addin/dialog/AppointmentDevices.h"
#include "host/client/Client.h"
#include "host/options/PageControl.h"
#include "host/terminal/Terminal.h"
#include "host/windowing/TerminalDeviceDialog.h"

namespace host {
namespace {

int& Applied() {
  static int count = 0;
  return count;
}

// A page that "edit" makes dirty and that counts its Apply calls.
class CountingPage : public PageControl, public outlook::PropertyPage {
 public:
  outlook::PropertyPage& Page() override { return *this; }
  void InitProperties(std::shared_ptr<outlook::PropertyPageSite> site) override { site_ = std::move(site); }
  void Render(std::ostream& out) const override { out << "counting page\n"; }
  bool Command(const std::vector<std::string>& words, std::ostream&) override {
    if (words.at(0) != "edit") return false;
    dirty_ = true;
    site_->OnStatusChange();
    return true;
  }
  std::vector<std::string> CommandHelp() const override { return {"edit"}; }
  void Apply() override {
    ++Applied();
    dirty_ = false;
  }
  bool Dirty() const override { return dirty_; }
  void GetPageInfo(std::string&, int32_t&) override {}

 private:
  std::shared_ptr<outlook::PropertyPageSite> site_;
  bool dirty_ = false;
};

struct AddsCountingPage : outlook::ApplicationEvents {
  void OptionsPagesAdd(outlook::PropertyPages& Pages) override { Pages.Add("Test.CountingPage", "Counting"); }
};

TEST(TerminalTest, LeavingTheOptionsDialog) {
  RegisterPage("Test.CountingPage", [] { return std::make_unique<CountingPage>(); });
  const struct {
    const char* name;
    const char* input;
    int applied;
    bool backAtClient;  // the line after the dialog ran as a client command
  } rows[] = {
      {"ok", "options\nedit\nok\nlist\n", 1, true},
      {"cancel", "options\nedit\ncancel\nlist\n", 0, true},
      {"quit", "options\nedit\nquit\nlist\n", 0, false},
      {"exit, after a comment", "options\n# a note\nedit\nexit\nlist\n", 0, false},
      {"end of input", "options\nedit\n", 0, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    test::TempFolder folder;
    Client client(folder.Path("calendar.ics"));
    AddsCountingPage addin;
    client.App().Advise(&addin);
    Applied() = 0;
    std::istringstream in(row.input);
    std::ostringstream out;
    Terminal(client, in, out).Run();
    client.App().Unadvise(&addin);
    EXPECT_EQ(Applied(), row.applied);
    EXPECT_NE(out.str().find("Options closed"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("Unknown command"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("Calendar (0)") != std::string::npos, row.backAtClient) << out.str();
  }
}

TEST(TerminalTest, TheDeviceDialogExplainsItselfInsteadOfRefusingWords) {
  std::istringstream in("help\nquit\n1 6\nok\n");
  std::ostringstream out;
  reminder::AppointmentDevices dialog;
  TerminalDeviceDialog(in, out).ShowModal(dialog);
  EXPECT_EQ(dialog.selectedDevices, "HomeEmail,SMS");
  EXPECT_EQ(out.str().find("Not a row number"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("close the dialog before leaving the client"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace host
