// Reading the REGEDIT4 text. The file may have been edited by hand or cut short by a full
// disk, so every line that cannot be read is skipped and the rest is kept.
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "library/registry/filestore/RegFile.h"

namespace falcrest::registry::filestore {

namespace {

const char* const kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                  "HKEY_USERS"};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool StartsWithNoCase(const std::string& text, size_t pos, const char* prefix) {
  std::string head = text.substr(pos, std::char_traits<char>::length(prefix));
  return SameName(head, prefix);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hex digits and nothing else: `min_digits` to `max_digits` of them. Bytes and dwords take
// their full width, so a line cut short is not read as a smaller number.
std::optional<uint32_t> ParseHex(const std::string& text, size_t min_digits, size_t max_digits) {
  if (text.size() < min_digits || text.size() > max_digits) return std::nullopt;
  uint32_t n = 0;
  for (char c : text) {
    int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    n = (n << 4) | static_cast<uint32_t>(d);
  }
  return n;
}

// A quoted text starting at `pos` (on the opening quote); moves `pos` past the closing one.
// Only \\ and \" are escapes; any other backslash stands for itself.
std::optional<std::string> ParseQuoted(const std::string& line, size_t& pos) {
  std::string text;
  for (size_t i = pos + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') {
      pos = i + 1;
      return text;
    }
    if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) c = line[++i];
    text += c;
  }
  return std::nullopt;
}

std::optional<std::string> ParseHexBytes(const std::string& list) {
  std::string bytes;
  if (Trim(list).empty()) return bytes;
  size_t start = 0;
  for (;;) {
    size_t comma = list.find(',', start);
    std::optional<uint32_t> byte = ParseHex(Trim(list.substr(start, comma - start)), 2, 2);
    if (!byte) return std::nullopt;
    bytes += static_cast<char>(*byte);
    if (comma == std::string::npos) return bytes;
    start = comma + 1;
  }
}

// The data after "Name=": "text", dword:XXXXXXXX, hex:.., hex(N):..
std::optional<Value> ParseData(const std::string& data) {
  if (!data.empty() && data[0] == '"') {
    size_t pos = 0;
    std::optional<std::string> text = ParseQuoted(data, pos);
    if (!text || !Trim(data.substr(pos)).empty()) return std::nullopt;
    return Value{kSz, *text + '\0'};
  }
  if (StartsWithNoCase(data, 0, "dword:")) {
    std::optional<uint32_t> n = ParseHex(Trim(data.substr(6)), 8, 8);
    if (!n) return std::nullopt;
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((*n >> (8 * i)) & 0xff);
    return Value{kDword, bytes};
  }
  if (!StartsWithNoCase(data, 0, "hex")) return std::nullopt;
  uint32_t type = kBinary;
  size_t colon = 3;
  if (data.size() > 3 && data[3] == '(') {
    size_t close = data.find(')', 4);
    if (close == std::string::npos) return std::nullopt;
    std::optional<uint32_t> n = ParseHex(data.substr(4, close - 4), 1, 8);
    if (!n) return std::nullopt;
    type = *n;
    colon = close + 1;
  }
  if (colon >= data.size() || data[colon] != ':') return std::nullopt;
  std::optional<std::string> bytes = ParseHexBytes(data.substr(colon + 1));
  if (!bytes) return std::nullopt;
  return Value{type, *bytes};
}

// A key path in brackets with a known root; the root takes its usual spelling.
std::optional<std::vector<std::string>> ParseSection(const std::string& line) {
  size_t close = line.rfind(']');
  if (close == std::string::npos || close < 2 || line[1] == '-') return std::nullopt;
  std::vector<std::string> path;
  const std::string inner = line.substr(1, close - 1);
  size_t start = 0;
  for (;;) {
    size_t slash = inner.find('\\', start);
    std::string part = inner.substr(start, slash - start);
    if (!part.empty()) path.push_back(part);
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  if (path.empty()) return std::nullopt;
  for (const char* root : kRootNames) {
    if (SameName(path[0], root)) {
      path[0] = root;
      return path;
    }
  }
  return std::nullopt;
}

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    lines.push_back(Trim(text.substr(start, end - start)));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace

RegFile RegFile::Parse(const std::string& text) {
  RegFile file;
  size_t section = 0;
  bool in_section = false;  // false before the first key and after a bad one
  // Value positions by lower-case name, per section, so that a big file reads in linear time.
  std::vector<std::unordered_map<std::string, size_t>> positions;
  const std::vector<std::string> lines = SplitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      std::optional<std::vector<std::string>> key = ParseSection(line);
      in_section = key.has_value();
      if (in_section) {
        section = static_cast<size_t>(&file.Open(*key) - file.sections_.data());
        positions.resize(file.sections_.size());
      }
      continue;
    }
    if (!in_section) continue;

    std::string name;
    size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (line[0] == '"') {
      std::optional<std::string> quoted = ParseQuoted(line, pos);
      if (!quoted) continue;
      name = *quoted;
    } else {
      continue;
    }
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '=') continue;
    std::string data = Trim(line.substr(pos + 1));
    // Long hex lists go on over lines that end in a backslash.
    if (StartsWithNoCase(data, 0, "hex")) {
      while (!data.empty() && data.back() == '\\' && i + 1 < lines.size()) {
        data.pop_back();
        data += lines[++i];
      }
    }
    std::optional<Value> value = ParseData(data);
    if (!value) continue;
    std::vector<NamedValue>& values = file.sections_[section].values;
    auto known = positions[section].emplace(LowerAscii(name), values.size());
    if (known.second) {
      values.push_back(NamedValue{name, *value});
    } else {
      values[known.first->second].value = *value;  // the last line wins, the first spelling stays
    }
  }
  return file;
}

}  // namespace falcrest::registry::filestore
