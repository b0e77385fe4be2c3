#include "comsupport/Text.h"

#include <new>

namespace comsupport {

namespace {

void AppendUtf8(std::string& out, unsigned long c) {
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

bool IsHigh(unsigned long u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(unsigned long u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

std::string Utf8(const wchar_t* text, size_t length) {
  std::string out;
  out.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    unsigned long c = static_cast<unsigned short>(text[i]);
    if (IsHigh(c) && i + 1 < length && IsLow(static_cast<unsigned short>(text[i + 1]))) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned short>(text[++i]) - 0xDC00);
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string Utf8(BSTR text) { return text ? Utf8(text, SysStringLen(text)) : std::string(); }

std::wstring Utf16(const std::string& text) {
  std::wstring out;
  out.reserve(text.size());
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    unsigned long c;
    size_t extra;
    if (b < 0x80) {
      c = b, extra = 0;
    } else if (b >= 0xC2 && b < 0xE0) {
      c = b & 0x1F, extra = 1;
    } else if (b >= 0xE0 && b < 0xF0) {
      c = b & 0x0F, extra = 2;
    } else if (b >= 0xF0 && b < 0xF5) {
      c = b & 0x07, extra = 3;
    } else {
      out += L'\xFFFD';
      ++i;
      continue;
    }
    size_t k = 1;
    for (; k <= extra && i + k < n; ++k) {
      const unsigned char t = static_cast<unsigned char>(text[i + k]);
      if ((t & 0xC0) != 0x80) break;
      c = (c << 6) | (t & 0x3F);
    }
    const bool overlong = (extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF));
    if (k <= extra || overlong) {
      out += L'\xFFFD';
      i += k;
      continue;
    }
    i += k;
    if (c >= 0x10000) {
      out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(c);  // a lone surrogate comes back as it went out
    }
  }
  return out;
}

BSTR NewBstr(const std::wstring& text) {
  BSTR s = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!s) throw std::bad_alloc();
  return s;
}

BSTR NewBstr(const std::string& text) { return NewBstr(Utf16(text)); }

void ReplaceBstr(BSTR* target, const std::string& text) {
  BSTR fresh = NewBstr(text);
  SysFreeString(*target);
  *target = fresh;
}

}  // namespace comsupport
