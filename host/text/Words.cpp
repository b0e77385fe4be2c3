#include "host/text/Words.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "library/support/Error.h"

namespace host {
namespace {

[[noreturn]] void RaiseSyntax(const std::string& description) {
  throw falcrest::Error(falcrest::error_number::kComponentBase + 0x120, "reminder-host", description);
}

}  // namespace

std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < line.size()) {
        char next = line[++i];
        switch (next) {
          case 'n': word += '\n'; break;
          case 'r': word += '\r'; break;
          case 't': word += '\t'; break;
          case '"': word += '"'; break;
          case '\\': word += '\\'; break;
          default: word += '\\'; word += next; break;
        }
      } else {
        word += c;
      }
    } else if (c == '"') {
      quoted = true;
      inWord = true;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quoted) RaiseSyntax("A quoted text is not closed: add the missing \"");
  if (inWord) words.push_back(word);
  return words;
}

std::string ExpandVariables(const std::string& text,
                            const std::function<bool(const std::string&, std::string&)>& lookup) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    size_t open = text.find("${", at);
    if (open == std::string::npos) break;
    size_t close = text.find('}', open + 2);
    if (close == std::string::npos) RaiseSyntax("A variable is not closed: add the missing }");
    out.append(text, at, open - at);
    std::string name = text.substr(open + 2, close - open - 2);
    std::string value;
    if (!lookup(name, value)) RaiseSyntax("The variable ${" + name + "} is not set");
    out += value;
    at = close + 1;
  }
  out.append(text, at, std::string::npos);
  return out;
}

bool SplitKeyValue(const std::string& word, std::string& key, std::string& value) {
  size_t eq = word.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  key = word.substr(0, eq);
  value = word.substr(eq + 1);
  return true;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

bool EqualsNoCase(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

bool ParseInt(const std::string& text, int& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX ||
      std::isspace(static_cast<unsigned char>(text[0]))) {
    return false;
  }
  out = static_cast<int>(value);
  return true;
}

std::string JoinWords(const std::vector<std::string>& words, size_t from) {
  std::string out;
  for (size_t i = from; i < words.size(); ++i) {
    if (i > from) out += ' ';
    out += words[i];
  }
  return out;
}

std::vector<std::string> SplitComma(const std::string& text) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  size_t at = 0;
  while (true) {
    size_t comma = text.find(',', at);
    pieces.push_back(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  return pieces;
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

}  // namespace host
