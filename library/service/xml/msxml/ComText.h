#pragma once
// The little the MSXML backend needs around COM: an owning interface pointer, an owning
// BSTR, and UTF-8 <-> UTF-16 at the edge of the backend.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace falcrest::xml {

// Owns one reference to a COM interface; put() hands out the slot for an out-parameter.
template <class T>
class ComRef {
 public:
  ComRef() = default;
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** put() {
    reset();
    return &p_;
  }
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

// Owns one BSTR.
class Bstr {
 public:
  Bstr() = default;
  Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    if (this != &other) {
      SysFreeString(b_);
      b_ = std::exchange(other.b_, nullptr);
    }
    return *this;
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(b_); }

  BSTR get() const { return b_; }
  BSTR* put() {
    SysFreeString(b_);
    b_ = nullptr;
    return &b_;
  }

 private:
  BSTR b_ = nullptr;
};

// UTF-8 from a BSTR (empty for null).
inline std::string ToUtf8(BSTR text) {
  const int units = text ? static_cast<int>(SysStringLen(text)) : 0;
  if (units == 0) return std::string();
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, units, out.data(), bytes, nullptr, nullptr);
  return out;
}

// A BSTR from UTF-8 text; false (and `out` untouched) when the text is not valid UTF-8.
inline bool ToBstr(const std::string& text, Bstr& out) {
  const int bytes = static_cast<int>(text.size());
  int units = 0;
  if (bytes > 0) {
    units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), bytes, nullptr, 0);
    if (units == 0) return false;
  }
  BSTR made = SysAllocStringLen(nullptr, static_cast<UINT>(units));
  if (!made) return false;
  if (units > 0) MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), bytes, made, units);
  *out.put() = made;
  return true;
}

}  // namespace falcrest::xml
