#include "library/service/http/ResponseText.h"

#include <cstdint>
#include <utility>

namespace falcrest::http {
namespace {

enum class Encoding { kUtf8, kUtf16Le, kUtf16Be };

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The value of the charset parameter, lower-cased and unquoted; empty when there is none.
std::string Charset(const std::string& content_type) {
  size_t pos = content_type.find(';');
  while (pos != std::string::npos) {
    size_t begin = pos + 1;
    pos = content_type.find(';', begin);
    size_t end = pos == std::string::npos ? content_type.size() : pos;
    while (begin < end && IsBlank(content_type[begin])) ++begin;
    while (end > begin && IsBlank(content_type[end - 1])) --end;
    std::string parameter;
    for (size_t i = begin; i < end; ++i) parameter += Lower(content_type[i]);
    const size_t equals = parameter.find('=');
    if (equals == std::string::npos) continue;
    std::string name = parameter.substr(0, equals);
    while (!name.empty() && IsBlank(name.back())) name.pop_back();
    if (name != "charset") continue;
    std::string value = parameter.substr(equals + 1);
    while (!value.empty() && IsBlank(value.front())) value.erase(0, 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return value;
  }
  return std::string();
}

Encoding FromCharset(const std::string& charset) {
  if (charset == "utf-16" || charset == "utf-16le" || charset == "unicode") return Encoding::kUtf16Le;
  if (charset == "utf-16be" || charset == "unicodefffe") return Encoding::kUtf16Be;
  return Encoding::kUtf8;
}

bool StartsWith(const std::string& body, const char* mark, size_t size) { return body.compare(0, size, mark, size) == 0; }

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string FromUtf16(const std::string& bytes, size_t from, bool big_endian) {
  constexpr uint32_t kReplacement = 0xFFFD;
  const auto unit = [&](size_t i) {
    const uint32_t first = static_cast<unsigned char>(bytes[i]);
    const uint32_t second = static_cast<unsigned char>(bytes[i + 1]);
    return big_endian ? (first << 8) | second : (second << 8) | first;
  };
  std::string out;
  out.reserve(bytes.size() - from);
  size_t i = from;
  for (; i + 1 < bytes.size(); i += 2) {
    const uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      const uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, u >= 0xD800 && u <= 0xDFFF ? kReplacement : u);
  }
  if (i < bytes.size()) AppendUtf8(out, kReplacement);
  return out;
}

}  // namespace

std::string ResponseText(std::string body, const std::string& content_type) {
  if (StartsWith(body, "\xEF\xBB\xBF", 3)) {
    body.erase(0, 3);
    return body;
  }
  if (StartsWith(body, "\xFF\xFE", 2)) return FromUtf16(body, 2, false);
  if (StartsWith(body, "\xFE\xFF", 2)) return FromUtf16(body, 2, true);
  switch (FromCharset(Charset(content_type))) {
    case Encoding::kUtf16Le:
      return FromUtf16(body, 0, false);
    case Encoding::kUtf16Be:
      return FromUtf16(body, 0, true);
    case Encoding::kUtf8:
      break;
  }
  return body;
}

}  // namespace falcrest::http
