#include "host/win32/WinDriver.h"

#include <cstdlib>
#include <ostream>

#include "host/text/Words.h"
#include "host/win32/Dispatch.h"

namespace host::win32 {
namespace {

std::string Env(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}

}  // namespace

WinDriver::~WinDriver() {
  options_.reset();
  client_.reset();
}

std::vector<std::string> WinDriver::StartClient(std::ostream& out) {
  options_.reset();
  if (client_) {
    client_->Restart(out);
  } else {
    MainWindow();
    client_ = std::make_unique<WinClient>();
    client_->Start(out);
  }
  return client_->Addins();
}

// Lets posted messages (a dismissed box, a closing dialog) reach their windows.
void WinDriver::Settle() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void WinDriver::OpenOptions(std::ostream&) {
  ComModel& model = client_->Model();
  options_ = std::make_unique<OptionsDialog>(MainWindow(), client_->Application(),
                                             [&model](IDispatch* pages) { model.RaiseOptionsPagesAdd(pages); });
  options_->Open();
}

void WinDriver::Press(Button button) {
  if (button == Button::kOk) options_->Ok();
  else if (button == Button::kApply) options_->Apply();
  else options_->Cancel();
}

bool WinDriver::SelectTab(const std::string& numberOrTitle) {
  const std::vector<std::string> titles = TabTitles();
  int index = 0;
  if (!ParseInt(numberOrTitle, index)) {
    for (size_t i = 0; i < titles.size(); ++i) {
      if (titles[i] == numberOrTitle) index = static_cast<int>(i) + 1;
    }
  }
  if (index < 1 || index > static_cast<int>(titles.size())) return false;
  options_->SelectTab(index);
  return true;
}

std::vector<std::string> WinDriver::TabTitles() const {
  std::vector<std::string> titles;
  for (const std::wstring& title : options_->TabTitles()) titles.push_back(Utf8(title.c_str()));
  return titles;
}

bool WinDriver::PageCommand(const std::vector<std::string>& words, std::ostream&, std::string& reason) {
  std::vector<std::wstring> wide;
  for (const std::string& word : words) wide.push_back(Wide(word));
  std::wstring error;
  if (options_->PageCommand(wide, error)) return true;
  reason = Utf8(error.c_str());
  return false;
}

std::string WinDriver::LastUrl() { return options_ ? Utf8(options_->LastUrl().c_str()) : std::string(); }

std::vector<scenario::ServiceEvent> WinDriver::ServiceEvents(const std::string& database, const std::string& user) {
  // The service behind the database: its address and the members' password come from the
  // environment the test sets up.
  if (!service_) {
    const std::string url = Env("SERVICE_URL", "");
    if (url.empty()) scenario::Fail("SERVICE_URL naming the service of " + database, "none set");
    service_ = std::make_unique<ServicePages>(url, Env("SERVICE_PASSWORD", "demo"));
  }
  return service_->Events(user);
}

}  // namespace host::win32
