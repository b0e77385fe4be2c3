#include "library/records/RecordXml.h"

#include "library/support/Numbers.h"
#include "library/support/XmlText.h"

namespace falcrest::records {

namespace {

bool NeedsEscape(const std::string& text) {
  for (char c : text) {
    if (c == '&' || c == '<' || c == '>') return true;
  }
  return false;
}

}  // namespace

void AppendElement(std::string& out, const char* name, const std::string& text) {
  out += '<';
  out += name;
  out += '>';
  // Most values hold nothing to escape: they are copied as they are.
  if (NeedsEscape(text)) {
    out.append(EscapeXml(text));
  } else {
    out.append(text);
  }
  out += "</";
  out += name;
  out += '>';
}

std::unique_ptr<xml::Document> LoadFragment(const std::string& xml, const std::string& context) {
  std::unique_ptr<xml::Document> doc = xml::NewDocument(context);
  doc->LoadXml(xml);
  return doc;
}

std::string ReadText(const xml::Document& doc, const char* name) {
  std::string path("//");
  path.append(name);
  return doc.SelectText(path);
}

void ReadGuardedInt32(const xml::Document& doc, const char* name, int32_t& field, const char* owner) {
  const std::string text = ReadText(doc, name);
  if (ReadInt32(text, field) == Int32Read::kTooLarge) RaiseInt32Overflow(text, std::string(owner) + "'s " + name);
}

bool ToBoolean(const std::string& text, const std::string& what) {
  std::string upper = text;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper == "TRUE") return true;
  if (upper == "FALSE") return false;
  double number = 0;
  if (TryToDouble(text, number)) return number != 0;
  RaiseTypeMismatch(what + " \"" + text + "\" is neither true nor false");
}

}  // namespace falcrest::records
