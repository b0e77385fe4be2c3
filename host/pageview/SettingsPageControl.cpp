#include "host/pageview/SettingsPageControl.h"

#include <ostream>

#include "host/text/Words.h"
#include "optionspage/page/Components.h"

namespace host {

namespace {

using orvane::kDeviceRows;

std::string Padded(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

}  // namespace

SettingsPageControl::SettingsPageControl() : page_(orvane::CreateReminderSetting()) {}

void SettingsPageControl::InitProperties(std::shared_ptr<outlook::PropertyPageSite> site) {
  page_->InitProperties(std::move(site));
}

void SettingsPageControl::Render(std::ostream& out) const {
  const orvane::PageLayout& layout = page_->Layout();
  const std::string& password = page_->PasswordText();
  out << "  User ID:  " << page_->UserIdText() << "\n";
  out << "  Password: " << std::string(password.size(), '*') << "\n";
  out << "  " << layout.At("frmDevices").caption << "\n";
  for (size_t row = 0; row < kDeviceRows.size(); ++row) {
    const orvane::Control& box = layout.CheckBox(row);
    std::string line = box.value == 1 ? "[x] " : box.enabled ? "[ ] " : "[-] ";
    line += Padded(box.caption, 16);
    line += Padded(kDeviceRows[row].deviceType, 10);
    if (!box.enabled) {
      line += "(disabled)";
    } else {
      line += layout.AddressLabel(row).caption;
      if (std::string(kDeviceRows[row].deviceType) == "SMS") line += " " + layout.At("lblSMSProvider").caption;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << "    " << line << "\n";
  }
  const orvane::Control& link = layout.At("lblHyperlink");
  out << "  Link: " << link.caption << (link.fontUnderline ? " (underlined)" : "") << "\n";
}

bool SettingsPageControl::Tick(const std::string& name, bool ticked, std::ostream& out) {
  for (size_t row = 0; row < kDeviceRows.size(); ++row) {
    if (!EqualsNoCase(name, kDeviceRows[row].deviceType)) continue;
    const std::string caption = page_->Layout().CheckBox(row).caption;
    if (!page_->Layout().CheckBox(row).enabled) {
      out << "The " << caption << " box is disabled: the service has no " << kDeviceRows[row].deviceType
          << " device for this account.\n";
    } else if (page_->IsChecked(row) != ticked) {
      page_->ClickCheckBox(row);
    }
    return true;
  }
  out << "No device type named \"" << name << "\"; use one of";
  for (const orvane::DeviceRow& row : kDeviceRows) out << " " << row.deviceType;
  out << ".\n";
  return true;
}

bool SettingsPageControl::Command(const std::vector<std::string>& words, std::ostream& out) {
  if (words.empty()) return false;
  const std::string& verb = words[0];
  if (EqualsNoCase(verb, "show")) {
    Render(out);
  } else if (EqualsNoCase(verb, "type")) {
    const std::string box = words.size() > 1 ? words[1] : "";
    if (EqualsNoCase(box, "UserID")) {
      page_->SetUserIdText(JoinWords(words, 2));
    } else if (EqualsNoCase(box, "Password")) {
      page_->SetPasswordText(JoinWords(words, 2));
    } else {
      out << "Type into UserID or Password: type UserID TEXT, type Password TEXT.\n";
    }
  } else if (EqualsNoCase(verb, "tick") || EqualsNoCase(verb, "untick")) {
    if (words.size() != 2) {
      out << "Name one device type: " << verb << " HomeEmail.\n";
    } else {
      Tick(words[1], EqualsNoCase(verb, "tick"), out);
    }
  } else if (EqualsNoCase(verb, "click")) {
    if (words.size() == 2 && EqualsNoCase(words[1], "link")) {
      page_->lblHyperlink_Click();
    } else {
      out << "Only the link can be clicked here: click link.\n";
    }
  } else if (EqualsNoCase(verb, "hover")) {
    int x = 0;
    int y = 0;
    if (words.size() == 3 && ParseInt(words[1], x) && ParseInt(words[2], y)) {
      page_->lblHyperlink_MouseMove(x, y);
    } else {
      out << "Give the pointer's position over the link in twips: hover X Y.\n";
    }
  } else if (EqualsNoCase(verb, "release")) {
    page_->lblHyperlink_MouseUp();
  } else {
    return false;
  }
  return true;
}

std::vector<std::string> SettingsPageControl::CommandHelp() const {
  return {
      "type UserID TEXT      set the user ID box (no TEXT empties it)",
      "type Password TEXT    set the password box (no TEXT empties it)",
      "tick NAME             check the box of a device type (HomeEmail ... Fax)",
      "untick NAME           uncheck the box of a device type",
      "click link            click the sign-up / set-up devices link",
      "hover X Y             move the pointer over the link (twips, in the link)",
      "release               release the mouse button over the link",
      "show                  show the page",
  };
}

}  // namespace host
