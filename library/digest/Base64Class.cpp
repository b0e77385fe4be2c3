// Base64 of a text's ANSI bytes, as the settings store keeps the password: lines of 72
// characters each ending in CR LF, and padding encoded as NUL characters of the text itself.
#include "library/digest/Base64Class.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "library/digest/CodePage.h"
#include "library/support/Error.h"

namespace falcrest {
namespace {

constexpr char kAlphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr size_t kGroupsPerLine = 18;  // 72 characters

// Value of each alphabet byte; every other byte, "=" included, decodes as 0.
constexpr std::array<unsigned char, 256> MakeDecodeTable() {
  std::array<unsigned char, 256> table{};
  for (unsigned char v = 0; v < 64; ++v) table[static_cast<unsigned char>(kAlphabet[v])] = v;
  return table;
}
constexpr std::array<unsigned char, 256> kDecode = MakeDecodeTable();

// Writes the four characters of the three bytes at in.
inline void EncodeGroup(const unsigned char* in, char* o) {
  const unsigned v = (unsigned{in[0]} << 16) | (unsigned{in[1]} << 8) | in[2];
  o[0] = kAlphabet[(v >> 18) & 63];
  o[1] = kAlphabet[(v >> 12) & 63];
  o[2] = kAlphabet[(v >> 6) & 63];
  o[3] = kAlphabet[v & 63];
}

// Appends `count` NUL characters, growing the buffer by just that much rather than doubling
// it for one or two characters.
void AppendNuls(std::string& text, size_t count) {
  if (text.capacity() < text.size() + count) {
    std::string grown;
    grown.reserve(text.size() + count);
    grown.append(text);
    text.swap(grown);
  }
  text.append(count, '\0');
}

// The text's ANSI bytes: the text itself when it is ASCII, else its conversion, kept in store.
const std::string& AnsiBytes(const std::string& text, std::string& store) {
  if (codepage::IsAscii(text)) return text;
  store = codepage::ToAnsi(text);
  return store;
}

// Removes every CR and LF in one pass, which leaves what removing them one after the other
// would; moves the text between them in blocks, as a line of Base64 is 72 characters long.
void RemoveLineBreaks(std::string& text) {
  char* const begin = &text[0];
  const char* const end = begin + text.size();
  auto next = [end](const char* from, char c) {
    const void* found = std::memchr(from, c, end - from);
    return found ? static_cast<const char*>(found) : end;
  };
  const char* cr = next(begin, '\r');
  const char* lf = next(begin, '\n');
  char* write = begin;
  const char* read = begin;
  while (read < end) {
    const char* stop = std::min(cr, lf);
    if (write != read) std::memmove(write, read, stop - read);
    write += stop - read;
    if (stop == end) break;
    read = stop + 1;
    if (stop == cr) cr = next(read, '\r');
    else lf = next(read, '\n');
  }
  text.resize(write - begin);
}

// Drops `units` UTF-16 units from the end of UTF-8 text (a character is dropped whole), or
// all of it when it is shorter.
void DropLastUnits(std::string& text, size_t units) {
  size_t end = text.size();
  while (units > 0 && end > 0) {
    size_t start = end - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
    size_t width = static_cast<unsigned char>(text[start]) >= 0xF0 ? 2 : 1;
    units -= std::min(units, width);
    end = start;
  }
  text.resize(end);
}

}  // namespace

std::string Base64Class::Encode64(std::string& sString) const {
  size_t p = 0;
  if (size_t r = codepage::Utf16Length(sString) % 3; r != 0) {
    p = 3 - r;
    AppendNuls(sString, p);
  }
  std::string converted;
  const std::string& bytes = AnsiBytes(sString, converted);
  // Nothing to size the output for, or a double-byte character split the last group.
  if (bytes.empty() || bytes.size() % 3 != 0) RaiseSubscriptOutOfRange();

  const size_t n = bytes.size() / 3;
  std::string out(n * 4 + (n / kGroupsPerLine) * 2, '\0');
  const unsigned char* in = reinterpret_cast<const unsigned char*>(bytes.data());
  char* o = &out[0];
  // Whole lines of 18 groups end in CR LF (the last one too); a short last line does not.
  for (size_t done = 0; done < n;) {
    const size_t groups = std::min(kGroupsPerLine, n - done);
    for (size_t g = 0; g < groups; ++g, in += 3, o += 4) EncodeGroup(in, o);
    done += groups;
    if (groups == kGroupsPerLine) {
      *o++ = '\r';
      *o++ = '\n';
    }
  }

  // The last one or two characters encoded the appended zero bytes.
  size_t j = out.size() - 1;
  if (out[j] == '\n') j -= 2;
  if (p >= 1) out[j] = '=';
  if (p == 2) out[j - 1] = '=';
  return out;
}

std::string Base64Class::Decode64(std::string& sString) const {
  RemoveLineBreaks(sString);
  if (codepage::Utf16Length(sString) % 4 != 0)
    throw Error(error_number::kComponentBase, "MyDecode", "Input string is not valid Base64.");

  const size_t p = sString.find("==") != std::string::npos ? 2
                   : sString.find('=') != std::string::npos ? 1
                                                            : 0;
  std::string converted;
  const std::string& bytes = AnsiBytes(sString, converted);
  if (bytes.empty() || bytes.size() % 4 != 0) RaiseSubscriptOutOfRange();

  std::string out(bytes.size() / 4 * 3, '\0');
  const unsigned char* in = reinterpret_cast<const unsigned char*>(bytes.data());
  char* o = &out[0];
  for (size_t i = 0; i < bytes.size(); i += 4, in += 4, o += 3) {
    const unsigned v = (unsigned{kDecode[in[0]]} << 18) | (unsigned{kDecode[in[1]]} << 12) |
                       (unsigned{kDecode[in[2]]} << 6) | kDecode[in[3]];
    o[0] = static_cast<char>(v >> 16);
    o[1] = static_cast<char>(v >> 8);
    o[2] = static_cast<char>(v);
  }

  std::string text = codepage::FromAnsi(out);
  DropLastUnits(text, p);
  return text;
}

}  // namespace falcrest
