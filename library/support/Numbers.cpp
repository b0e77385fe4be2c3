#include "library/support/Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "library/support/Error.h"

namespace falcrest {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A number text taken apart; `ok` is false when the text is no number.
struct ParsedNumber {
  bool ok = false;
  bool literal = false;      // &H or &O
  bool overflow = false;     // literal wider than 32 bits, or a decimal beyond double
  uint32_t literalBits = 0;
  double value = 0;
};

ParsedNumber ParseLiteral(const std::string& body) {
  ParsedNumber p;
  if (body.size() < 3) return p;
  char kind = body[1];
  unsigned base = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
  if (base == 0) return p;
  uint64_t bits = 0;
  for (size_t i = 2; i < body.size(); ++i) {
    int d = HexValue(body[i]);
    if (d < 0 || static_cast<unsigned>(d) >= base) return p;
    bits = bits * base + static_cast<unsigned>(d);
    if (bits > 0xFFFFFFFFull) {
      p.overflow = true;
      bits &= 0xFFFFFFFFull;
    }
  }
  p.ok = true;
  p.literal = true;
  p.literalBits = static_cast<uint32_t>(bits);
  return p;
}

// Blanks, sign, digits with "," grouping, one ".", optional exponent (e or d), blanks.
ParsedNumber Parse(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  std::string body = text.substr(begin, end - begin);
  if (body.size() >= 2 && body[0] == '&') return ParseLiteral(body);

  ParsedNumber p;
  std::string plain;  // the number in from_chars' form: digits, '.', 'e'
  size_t i = 0;
  bool negative = false;
  if (i < body.size() && (body[i] == '+' || body[i] == '-')) negative = body[i++] == '-';
  size_t digits = 0;
  while (i < body.size() && (IsDigit(body[i]) || (body[i] == ',' && digits > 0))) {
    if (body[i] != ',') plain += body[i], ++digits;
    ++i;
  }
  if (i < body.size() && body[i] == '.') {
    plain += body[i++];
    while (i < body.size() && IsDigit(body[i])) plain += body[i++], ++digits;
  }
  if (digits == 0) return p;
  if (i < body.size() && (body[i] == 'e' || body[i] == 'E' || body[i] == 'd' || body[i] == 'D')) {
    plain += 'e';
    ++i;
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) plain += body[i++];
    size_t expDigits = 0;
    while (i < body.size() && IsDigit(body[i])) plain += body[i++], ++expDigits;
    if (expDigits == 0) return p;
  }
  if (i != body.size()) return p;
  if (plain[0] == '.') plain.insert(plain.begin(), '0');
  p.ok = true;
  auto result = std::from_chars(plain.data(), plain.data() + plain.size(), p.value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small underflows to zero harmlessly; too large cannot become an integer.
    p.overflow = plain.find("e-") == std::string::npos;
    p.value = 0;
  }
  if (negative) p.value = -p.value;
  return p;
}

// The 32-bit value of a parsed number, rounded half to even; false on overflow.
bool ToInt32Value(const ParsedNumber& p, int32_t& value) {
  if (p.overflow) return false;
  if (p.literal) {
    value = static_cast<int32_t>(p.literalBits);
    return true;
  }
  double rounded = std::nearbyint(p.value);
  if (!(rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max()))
    return false;
  value = static_cast<int32_t>(rounded);
  return true;
}

}  // namespace

int32_t ToInt32(const std::string& text, const std::string& what) {
  ParsedNumber p = Parse(text);
  if (!p.ok) RaiseTypeMismatch(what + " \"" + text + "\" is not a number");
  int32_t value = 0;
  if (!ToInt32Value(p, value)) RaiseInt32Overflow(text, what);
  return value;
}

Int32Read ReadInt32(const std::string& text, int32_t& value) {
  ParsedNumber p = Parse(text);
  if (!p.ok) return Int32Read::kNotNumeric;
  return ToInt32Value(p, value) ? Int32Read::kRead : Int32Read::kTooLarge;
}

void RaiseInt32Overflow(const std::string& text, const std::string& what) {
  RaiseOverflow(what + " \"" + text + "\" does not fit in a 32-bit number (-2147483648 to 2147483647)");
}

bool TryToDouble(const std::string& text, double& value) {
  ParsedNumber p = Parse(text);
  if (!p.ok || p.overflow) return false;
  value = p.literal ? static_cast<int32_t>(p.literalBits) : p.value;
  return true;
}

bool IsCanonicalInt32(const std::string& text) {
  if (text == "0") return true;
  size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
  if (i >= text.size() || text[i] < '1' || text[i] > '9' || text.size() - i > 10) return false;
  for (size_t k = i; k < text.size(); ++k) {
    if (!IsDigit(text[k])) return false;
  }
  int64_t value = std::stoll(text);
  return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

}  // namespace falcrest
