// The ANSI code page on Windows: the system's active page (CP_ACP) through UTF-16, with the
// system's own replacement of what the page cannot represent: "?" for each UTF-16 unit that
// has no byte form, so a character beyond U+FFFF becomes "??". The system's "best fit"
// look-alikes are turned off: they would turn U+2216 into a backslash inside a registry path
// and make "ā" and "a" digest alike, where an unmappable character must give "?".
#include <windows.h>

#include <string>

#include "library/digest/CodePage.h"
#include "library/support/Error.h"

namespace falcrest::codepage {
namespace {

constexpr int64_t kInvalidArgument = 5;  // "Invalid procedure call or argument"

[[noreturn]] void RaiseFailed(const char* what) {
  throw Error(kInvalidArgument, kLibrarySource,
              std::string("Text conversion failed (") + what + ", system error " + std::to_string(GetLastError()) +
                  ")");
}

int Length(const std::string& text) {
  if (text.size() > 0x7FFFFFFF) RaiseOverflow("The text is too long to convert");
  return static_cast<int>(text.size());
}

// UTF-16 of bytes in `page`. Invalid UTF-8 becomes U+FFFD, as the system does without
// MB_ERR_INVALID_CHARS; a byte the ANSI page does not assign becomes its "?" or its mapping.
std::wstring ToWide(UINT page, const std::string& bytes) {
  const int n = Length(bytes);
  int size = MultiByteToWideChar(page, 0, bytes.data(), n, nullptr, 0);
  if (size <= 0) RaiseFailed("MultiByteToWideChar");
  std::wstring wide(static_cast<size_t>(size), L'\0');
  if (MultiByteToWideChar(page, 0, bytes.data(), n, &wide[0], size) != size) RaiseFailed("MultiByteToWideChar");
  return wide;
}

std::string FromWide(UINT page, const std::wstring& wide) {
  const int n = static_cast<int>(wide.size());
  // UTF-8 (also as the active page) takes no flags; every other ANSI page takes this one.
  DWORD flags = page == CP_UTF8 || GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  int size = WideCharToMultiByte(page, flags, wide.data(), n, nullptr, 0, nullptr, nullptr);
  if (size <= 0) RaiseFailed("WideCharToMultiByte");
  std::string bytes(static_cast<size_t>(size), '\0');
  if (WideCharToMultiByte(page, flags, wide.data(), n, &bytes[0], size, nullptr, nullptr) != size)
    RaiseFailed("WideCharToMultiByte");
  return bytes;
}

}  // namespace

std::string ToAnsi(const std::string& utf8) {
  // ASCII has the same bytes in every ANSI page: no conversion needed.
  if (IsAscii(utf8)) return utf8;
  return FromWide(CP_ACP, ToWide(CP_UTF8, utf8));
}

std::string FromAnsi(const std::string& bytes) {
  if (IsAscii(bytes)) return bytes;
  return FromWide(CP_UTF8, ToWide(CP_ACP, bytes));
}

}  // namespace falcrest::codepage
