#pragma once
// Server-rendered HTML for the service's pages: escaping, the page frame, form reading.
#include <map>
#include <string>
#include <vector>

namespace reminder_service {

// Escapes "&", "<", ">", and both quotes, for text and attribute values alike.
std::string EscapeHtml(const std::string& text);

// A whole page: title, the site's navigation (with the member and "Log out" when someone is
// signed in), then `bodyHtml` (already escaped).
std::string RenderPage(const std::string& title, const std::string& bodyHtml, const std::string& signedInAs = "");

// A list of error messages ("" when there are none), and a notice paragraph.
std::string ErrorList(const std::vector<std::string>& errors);
std::string Notice(const std::string& text);

// A labelled input; `type` is "text", "password" or "email".
std::string Field(const std::string& label, const std::string& name, const std::string& value,
                  const std::string& type = "text");
std::string Hidden(const std::string& name, const std::string& value);

// The form's field of that name; "" when there is none.
std::string FormValue(const std::map<std::string, std::string>& form, const std::string& name);

// Decodes an application/x-www-form-urlencoded text; later duplicates win.
std::map<std::string, std::string> ParseForm(const std::string& text);

// Percent-encodes a text for a query string.
std::string EncodeQueryValue(const std::string& text);

}  // namespace reminder_service
