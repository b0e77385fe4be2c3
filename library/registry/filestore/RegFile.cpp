#include "library/registry/filestore/RegFile.h"

#include <algorithm>
#include <cstdio>

namespace falcrest::registry::filestore {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// True when `prefix` names `path` itself or one of its parents.
bool StartsWith(const std::vector<std::string>& path, const std::vector<std::string>& prefix) {
  if (prefix.size() > path.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (!SameName(path[i], prefix[i])) return false;
  return true;
}

std::string JoinPath(const std::vector<std::string>& path) {
  std::string text;
  for (const std::string& part : path) {
    if (!text.empty()) text += '\\';
    text += part;
  }
  return text;
}

// Escapes a name or text for the quoted form.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

// A REG_SZ that the quoted form can carry: text, one terminating NUL, no line break.
bool IsPlainText(const Value& value) {
  if (value.type != kSz || value.data.empty() || value.data.back() != '\0') return false;
  return value.data.find_first_of(std::string("\0\r\n", 3)) == value.data.size() - 1;
}

std::string HexBytes(const std::string& data, size_t lead) {
  std::string out;
  size_t column = lead;
  char byte[4];
  for (size_t i = 0; i < data.size(); ++i) {
    std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(data[i]));
    out += byte;
    column += 2;
    if (i + 1 == data.size()) break;
    out += ',';
    ++column;
    if (column > 76) {  // wrap long lines the way regedit does
      out += "\\\n  ";
      column = 2;
    }
  }
  return out;
}

std::string FormatValue(const NamedValue& entry) {
  std::string line = entry.name.empty() ? "@" : Quoted(entry.name);
  line += '=';
  const Value& v = entry.value;
  if (IsPlainText(v)) return line + Quoted(v.data.substr(0, v.data.size() - 1));
  if (v.type == kDword && v.data.size() == 4) {
    uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(v.data[i]);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(n));
    return line + "dword:" + digits;
  }
  if (v.type == kBinary) {
    line += "hex:";
  } else {
    char tag[24];
    std::snprintf(tag, sizeof tag, "hex(%x):", static_cast<unsigned>(v.type));
    line += tag;
  }
  return line + HexBytes(v.data, line.size());
}

}  // namespace

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

std::string RootName(uint32_t root) {
  switch (root) {
    case 0x80000000u: return "HKEY_CLASSES_ROOT";
    case kCurrentUser: return "HKEY_CURRENT_USER";
    case kLocalMachine: return "HKEY_LOCAL_MACHINE";
    case 0x80000003u: return "HKEY_USERS";
    default: return std::string();
  }
}

std::string RegFile::Format() const {
  std::string text = "REGEDIT4\n";
  for (const KeySection& section : sections_) {
    text += "\n[" + JoinPath(section.path) + "]\n";
    for (const NamedValue& entry : section.values) text += FormatValue(entry) + "\n";
  }
  return text;
}

KeySection* RegFile::FindSection(const std::vector<std::string>& path) {
  for (KeySection& section : sections_)
    if (section.path.size() == path.size() && StartsWith(section.path, path)) return &section;
  return nullptr;
}

const KeySection* RegFile::FindSection(const std::vector<std::string>& path) const {
  return const_cast<RegFile*>(this)->FindSection(path);
}

bool RegFile::KeyExists(const std::vector<std::string>& path) const {
  return std::any_of(sections_.begin(), sections_.end(),
                     [&](const KeySection& s) { return StartsWith(s.path, path); });
}

const Value* RegFile::Find(const std::vector<std::string>& path, const std::string& name) const {
  const KeySection* section = FindSection(path);
  if (!section) return nullptr;
  for (const NamedValue& entry : section->values)
    if (SameName(entry.name, name)) return &entry.value;
  return nullptr;
}

KeySection& RegFile::Open(const std::vector<std::string>& path) {
  if (KeySection* section = FindSection(path)) return *section;
  // A new key takes the spelling of the parents already written; the first key wins.
  KeySection fresh{path, {}};
  for (auto other = sections_.rbegin(); other != sections_.rend(); ++other) {
    for (size_t i = 0; i < fresh.path.size() && i < other->path.size(); ++i) {
      if (!SameName(fresh.path[i], other->path[i])) break;
      fresh.path[i] = other->path[i];
    }
  }
  sections_.push_back(std::move(fresh));
  return sections_.back();
}

void RegFile::Set(const std::vector<std::string>& path, const std::string& name, const Value& value) {
  KeySection& section = Open(path);
  for (NamedValue& entry : section.values) {
    if (SameName(entry.name, name)) {
      entry.value = value;
      return;
    }
  }
  section.values.push_back(NamedValue{name, value});
}

std::vector<std::string> RegFile::SubKeys(const std::vector<std::string>& path) const {
  std::vector<std::string> names;
  for (const KeySection& section : sections_) {
    if (section.path.size() <= path.size() || !StartsWith(section.path, path)) continue;
    const std::string& child = section.path[path.size()];
    if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, child); }))
      names.push_back(child);
  }
  return names;
}

void RegFile::Delete(const std::vector<std::string>& path) {
  sections_.erase(std::remove_if(sections_.begin(), sections_.end(),
                                 [&](const KeySection& s) { return StartsWith(s.path, path); }),
                  sections_.end());
}

}  // namespace falcrest::registry::filestore
