#include "reference-service/Html.h"

#include <cctype>

namespace reminder_service {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string DecodeComponent(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string EscapeHtml(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string RenderPage(const std::string& title, const std::string& bodyHtml, const std::string& signedInAs) {
  const std::string member =
      signedInAs.empty() ? std::string()
                         : "<span class=\"member\">Signed in as <b>" + EscapeHtml(signedInAs) +
                               "</b> <a href=\"/Logout.aspx\">Log out</a></span>";
  return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" + EscapeHtml(title) +
         " - Tarvanel Reminder</title>"
         "<style>body{font-family:Tahoma,sans-serif;margin:2em;max-width:50em}"
         "label{display:inline-block;min-width:14em}table{border-collapse:collapse}"
         "td,th{border:1px solid #999;padding:.3em .6em;text-align:left;vertical-align:top}"
         ".error{color:#a00}.notice{color:#060}nav a{margin-right:1em}pre{font-family:inherit;margin:0}"
         "nav{border-bottom:1px solid #999;padding-bottom:.4em}.member{float:right}.member a{margin:0 0 0 1em}"
         "</style></head><body>\n"
         "<nav><a href=\"/\">Home</a><a href=\"/Signup.aspx\">Sign up</a>"
         "<a href=\"/EditDevice.aspx\">Set up devices</a><a href=\"/Reminders.aspx\">Reminders</a>" +
         member + "</nav>\n<h1>" +
         EscapeHtml(title) + "</h1>\n" + bodyHtml + "\n</body></html>\n";
}

std::string ErrorList(const std::vector<std::string>& errors) {
  if (errors.empty()) return std::string();
  std::string html = "<ul class=\"error\">";
  for (const std::string& e : errors) html += "<li>" + EscapeHtml(e) + "</li>";
  return html + "</ul>\n";
}

std::string Notice(const std::string& text) { return "<p class=\"notice\">" + EscapeHtml(text) + "</p>\n"; }

std::string Field(const std::string& label, const std::string& name, const std::string& value,
                  const std::string& type) {
  return "<p><label for=\"" + EscapeHtml(name) + "\">" + EscapeHtml(label) + "</label><input type=\"" + type +
         "\" id=\"" + EscapeHtml(name) + "\" name=\"" + EscapeHtml(name) + "\" value=\"" +
         (type == "password" ? std::string() : EscapeHtml(value)) + "\"></p>\n";
}

std::string Hidden(const std::string& name, const std::string& value) {
  return "<input type=\"hidden\" name=\"" + EscapeHtml(name) + "\" value=\"" + EscapeHtml(value) + "\">\n";
}

std::string FormValue(const std::map<std::string, std::string>& form, const std::string& name) {
  const auto it = form.find(name);
  return it == form.end() ? std::string() : it->second;
}

std::map<std::string, std::string> ParseForm(const std::string& text) {
  std::map<std::string, std::string> fields;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('&', start);
    if (end == std::string::npos) end = text.size();
    const std::string pair = text.substr(start, end - start);
    if (!pair.empty()) {
      const size_t eq = pair.find('=');
      fields[DecodeComponent(pair.substr(0, eq))] = eq == std::string::npos ? "" : DecodeComponent(pair.substr(eq + 1));
    }
    start = end + 1;
  }
  return fields;
}

std::string EncodeQueryValue(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

}  // namespace reminder_service
