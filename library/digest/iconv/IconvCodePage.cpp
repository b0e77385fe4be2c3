// The ANSI code page on POSIX, through iconv. The page is the Windows code page number in
// FALCREST_ANSI_CODEPAGE (default 1252), read on every call so that a process can switch it.
//
// Replacement rules, the same in both directions so that a round trip keeps its byte count:
// - ToAnsi: a character the page cannot represent becomes "?" (Windows' default character),
//   one per UTF-16 unit as Windows counts them: "??" for a character beyond U+FFFF. So in a
//   single-byte page the byte count always equals the text's length.
// - FromAnsi: a byte that starts no valid character of the page (an unassigned byte, a lead
//   byte without a valid trail byte) becomes "?", and reading goes on at the next byte.
// - Page 1252 has five bytes without a character of their own (0x81, 0x8D, 0x8F, 0x90, 0x9D).
//   Windows maps them to and from the control characters of the same number (U+0081...);
//   iconv knows no mapping for them, so they are mapped here.
#include <errno.h>
#include <iconv.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "library/digest/CodePage.h"
#include "library/support/Error.h"

namespace falcrest::codepage {
namespace {

constexpr int64_t kInvalidArgument = 5;  // "Invalid procedure call or argument"
constexpr int kDefaultPage = 1252;
constexpr char kReplacement = '?';

[[noreturn]] void RaiseUnsupported(const std::string& what) {
  throw Error(kInvalidArgument, kLibrarySource,
              "The ANSI code page \"" + what +
                  "\" set in FALCREST_ANSI_CODEPAGE is not supported; use 932, 936, 949, 950, "
                  "1250 to 1258 or 65001");
}

int ActivePage() {
  const char* value = std::getenv("FALCREST_ANSI_CODEPAGE");
  if (value == nullptr || *value == '\0') return kDefaultPage;
  int page = 0;
  for (const char* p = value; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9' || page > 100000) RaiseUnsupported(value);
    page = page * 10 + (*p - '0');
  }
  return page;
}

// The iconv name of a Windows code page number.
std::string IconvName(int page) {
  switch (page) {
    case 932:
    case 936:
    case 949:
    case 950:
      return "CP" + std::to_string(page);
    case 65001:
      return "UTF-8";
    default:
      if (page >= 1250 && page <= 1258) return "CP" + std::to_string(page);
      RaiseUnsupported(std::to_string(page));
  }
}

// An iconv descriptor, closed when it goes out of scope.
class Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : cd_(iconv_open(to.c_str(), from.c_str())) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw Error(kInvalidArgument, kLibrarySource,
                  "This system cannot convert between " + from + " and " + to +
                      " (iconv has no such conversion)");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts in[0..size) and appends to out. Where the input holds a sequence that cannot
  // be converted, skip(p, left, stand_in) gives how many input bytes to pass over and sets
  // what stands for them (one "?" unless it says otherwise).
  template <typename Skip>
  void Append(const char* in, size_t size, std::string& out, Skip skip) {
    char* src = const_cast<char*>(in);
    size_t left = size;
    size_t used = out.size();
    // Neither direction makes more than 3 bytes of 1; most make at most 1 of 1.
    out.resize(used + size + 16);
    while (left > 0) {
      char* dst = &out[used];
      size_t room = out.size() - used;
      size_t rc = iconv(cd_, &src, &left, &dst, &room);
      used = out.size() - room;
      if (rc != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) {
        out.resize(out.size() + left * 3 + 16);
      } else if (errno == EILSEQ || errno == EINVAL) {
        // EINVAL: the input ends inside a sequence; the rest is one bad character.
        std::string stand_in(1, kReplacement);
        size_t n = errno == EINVAL ? left : skip(src, left, stand_in);
        if (used + stand_in.size() > out.size()) out.resize(out.size() + stand_in.size() + 16);
        out.replace(used, stand_in.size(), stand_in);
        used += stand_in.size();
        src += n;
        left -= n;
      } else {
        throw Error(kInvalidArgument, kLibrarySource,
                    std::string("Text conversion failed: ") + std::strerror(errno));
      }
    }
    out.resize(used);
  }

 private:
  iconv_t cd_;
};

// The five bytes of page 1252 that stand for the control character of the same number.
bool IsPassThrough1252(unsigned char byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// Length of the UTF-8 sequence that starts at p (1 for a byte that starts none); a whole
// sequence of four bytes is a surrogate pair, two units, so "??". In page 1252 the five
// control characters that have a byte of their own become that byte.
size_t SkipUtf8Character(const char* p, size_t left, std::string& stand_in, int page) {
  unsigned char lead = static_cast<unsigned char>(*p);
  size_t n = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
  if (n > left) return 1;
  for (size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(p[i]) & 0xC0) != 0x80) return i;
  const unsigned char second = n == 2 ? static_cast<unsigned char>(p[1]) : 0;
  if (page == 1252 && lead == 0xC2 && IsPassThrough1252(second)) {
    stand_in.assign(1, static_cast<char>(second));
  } else if (n == 4) {
    stand_in.assign(2, kReplacement);
  }
  return n;
}

size_t SkipAnsiByte(const char* p, std::string& stand_in, int page) {
  const unsigned char byte = static_cast<unsigned char>(*p);
  if (page == 1252 && IsPassThrough1252(byte)) {
    stand_in = "\xC2";
    stand_in += static_cast<char>(byte);
  }
  return 1;
}

// Length of the leading ASCII run: every page in use maps those bytes to themselves, and no
// page's lead byte is ASCII, so this part needs no conversion.
size_t AsciiPrefix(const std::string& s) {
  const char* p = s.data();
  size_t n = s.size();
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, p + i, 8);
    if (word & 0x8080808080808080ULL) break;
  }
  while (i < n && static_cast<unsigned char>(p[i]) < 0x80) ++i;
  return i;
}

}  // namespace

std::string ToAnsi(const std::string& utf8) {
  const int number = ActivePage();
  const std::string page = IconvName(number);
  size_t ascii = AsciiPrefix(utf8);
  if (ascii == utf8.size()) return utf8;
  std::string out;
  out.reserve(utf8.size());
  out.append(utf8, 0, ascii);
  Converter(page, "UTF-8").Append(utf8.data() + ascii, utf8.size() - ascii, out,
                                  [number](const char* p, size_t left, std::string& stand_in) {
                                    return SkipUtf8Character(p, left, stand_in, number);
                                  });
  return out;
}

std::string FromAnsi(const std::string& bytes) {
  const int number = ActivePage();
  const std::string page = IconvName(number);
  size_t ascii = AsciiPrefix(bytes);
  if (ascii == bytes.size()) return bytes;
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  out.append(bytes, 0, ascii);
  Converter("UTF-8", page).Append(bytes.data() + ascii, bytes.size() - ascii, out,
                                  [number](const char* p, size_t, std::string& stand_in) {
                                    return SkipAnsiByte(p, stand_in, number);
                                  });
  return out;
}

}  // namespace falcrest::codepage
