#pragma once
// COM strings (UTF-16 BSTRs) to and from the core's UTF-8 text. A lone surrogate survives the
// round trip (encoded as its own three bytes), and so does an embedded NUL.
#include <windows.h>
#include <ole2.h>

#include <string>
#include <utility>

namespace comsupport {

// UTF-8 text of a BSTR (a null BSTR is the empty text).
std::string Utf8(BSTR text);
// UTF-8 text of `length` UTF-16 units.
std::string Utf8(const wchar_t* text, size_t length);
// UTF-16 text of UTF-8 text; malformed bytes become U+FFFD.
std::wstring Utf16(const std::string& text);
// A new BSTR holding the text; std::bad_alloc when memory runs out.
BSTR NewBstr(const std::string& text);
BSTR NewBstr(const std::wstring& text);
// Replaces an in/out BSTR argument with the text, freeing the old one.
void ReplaceBstr(BSTR* target, const std::string& text);

// Owns a BSTR.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(BSTR owned) : s_(owned) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
  ~Bstr() { SysFreeString(s_); }
  BSTR get() const { return s_; }
  BSTR* put() {
    SysFreeString(s_);
    s_ = nullptr;
    return &s_;
  }
  BSTR Detach() { return std::exchange(s_, nullptr); }

 private:
  BSTR s_ = nullptr;
};

}  // namespace comsupport
