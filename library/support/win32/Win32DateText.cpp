// The general date text on Windows: the system's own date-to-text conversion with the
// user's regional settings, exactly what the service has always received from clients.
// The system writes a time of midnight as the date alone, and a date-time on the zero
// date (1899-12-30) as the time alone.
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

#include "library/support/DateText.h"
#include "library/support/Error.h"

namespace falcrest {
namespace {

// A BSTR, freed when it goes out of scope.
class UniqueBstr {
 public:
  UniqueBstr() = default;
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr() { SysFreeString(text_); }
  BSTR Get() const { return text_; }
  BSTR* Put() { return &text_; }

 private:
  BSTR text_ = nullptr;
};

std::string Utf8(const wchar_t* text, UINT length) {
  if (length == 0) return std::string();
  int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &out[0], size, nullptr, nullptr);
  return out;
}

}  // namespace

std::string GeneralDateText(const LocalDateTime& t) {
  UniqueBstr text;
  HRESULT hr = VarBstrFromDate(ToOleDate(t), LOCALE_USER_DEFAULT, 0, text.Put());
  if (FAILED(hr)) {
    // Only a date outside the years 100 to 9999 gets here.
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    RaiseOverflow(std::string("The date cannot be written as text (") + code + ")");
  }
  return Utf8(text.Get(), SysStringLen(text.Get()));
}

}  // namespace falcrest
