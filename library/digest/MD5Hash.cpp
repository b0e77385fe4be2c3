// MD5 (RFC 1321) of a byte string, rendered as 32 upper-case hexadecimal digits.
#include "library/digest/MD5Hash.h"

#include <cstddef>
#include <cstring>

#include "library/digest/CodePage.h"
#include "library/support/Error.h"

namespace falcrest::md5 {
namespace {

using Word = uint32_t;

// From this many bytes on, the length in bits no longer fits in 31 bits.
constexpr size_t kMaxBytes = 0x0FFFFFFF;

inline Word AddUnsigned(Word x, Word y) { return x + y; }  // unsigned: modulo 2^32

inline Word RotateLeft(Word value, int count) {
  return (value << count) | (value >> (32 - count));
}

// A message word from four bytes, the most significant first.
inline Word BytesToWord(unsigned char b3, unsigned char b2, unsigned char b1, unsigned char b0) {
  return (Word{b3} << 24) | (Word{b2} << 16) | (Word{b1} << 8) | Word{b0};
}

// The four bytes of a word, the most significant first.
inline void WordToBytes(Word w, unsigned char out[4]) {
  out[0] = static_cast<unsigned char>(w >> 24);
  out[1] = static_cast<unsigned char>(w >> 16);
  out[2] = static_cast<unsigned char>(w >> 8);
  out[3] = static_cast<unsigned char>(w);
}

inline Word RoundStep(Word a, Word f, Word b, Word x, int s, Word t) {
  return AddUnsigned(b, RotateLeft(AddUnsigned(AddUnsigned(a, f), AddUnsigned(x, t)), s));
}

// The auxiliary functions in forms equal to RFC 1321's, with fewer operations:
// F = (b & c) | (~b & d), G = (b & d) | (c & ~d), H = b ^ c ^ d, I = c ^ (b | ~d).
inline Word StepF(Word a, Word b, Word c, Word d, Word x, int s, Word t) {
  return RoundStep(a, d ^ (b & (c ^ d)), b, x, s, t);
}
inline Word StepG(Word a, Word b, Word c, Word d, Word x, int s, Word t) {
  return RoundStep(a, c ^ (d & (b ^ c)), b, x, s, t);
}
inline Word StepH(Word a, Word b, Word c, Word d, Word x, int s, Word t) {
  return RoundStep(a, b ^ c ^ d, b, x, s, t);
}
inline Word StepI(Word a, Word b, Word c, Word d, Word x, int s, Word t) {
  return RoundStep(a, c ^ (b | ~d), b, x, s, t);
}

void TransformBlock(Word state[4], const unsigned char* bytes, size_t offset) {
  const unsigned char* p = bytes + offset;
  Word x[16];
  for (int k = 0; k < 16; ++k)
    x[k] = BytesToWord(p[4 * k + 3], p[4 * k + 2], p[4 * k + 1], p[4 * k]);

  Word a = state[0], b = state[1], c = state[2], d = state[3];

  a = StepF(a, b, c, d, x[0], 7, 0xD76AA478);
  d = StepF(d, a, b, c, x[1], 12, 0xE8C7B756);
  c = StepF(c, d, a, b, x[2], 17, 0x242070DB);
  b = StepF(b, c, d, a, x[3], 22, 0xC1BDCEEE);
  a = StepF(a, b, c, d, x[4], 7, 0xF57C0FAF);
  d = StepF(d, a, b, c, x[5], 12, 0x4787C62A);
  c = StepF(c, d, a, b, x[6], 17, 0xA8304613);
  b = StepF(b, c, d, a, x[7], 22, 0xFD469501);
  a = StepF(a, b, c, d, x[8], 7, 0x698098D8);
  d = StepF(d, a, b, c, x[9], 12, 0x8B44F7AF);
  c = StepF(c, d, a, b, x[10], 17, 0xFFFF5BB1);
  b = StepF(b, c, d, a, x[11], 22, 0x895CD7BE);
  a = StepF(a, b, c, d, x[12], 7, 0x6B901122);
  d = StepF(d, a, b, c, x[13], 12, 0xFD987193);
  c = StepF(c, d, a, b, x[14], 17, 0xA679438E);
  b = StepF(b, c, d, a, x[15], 22, 0x49B40821);

  a = StepG(a, b, c, d, x[1], 5, 0xF61E2562);
  d = StepG(d, a, b, c, x[6], 9, 0xC040B340);
  c = StepG(c, d, a, b, x[11], 14, 0x265E5A51);
  b = StepG(b, c, d, a, x[0], 20, 0xE9B6C7AA);
  a = StepG(a, b, c, d, x[5], 5, 0xD62F105D);
  d = StepG(d, a, b, c, x[10], 9, 0x02441453);
  c = StepG(c, d, a, b, x[15], 14, 0xD8A1E681);
  b = StepG(b, c, d, a, x[4], 20, 0xE7D3FBC8);
  a = StepG(a, b, c, d, x[9], 5, 0x21E1CDE6);
  d = StepG(d, a, b, c, x[14], 9, 0xC33707D6);
  c = StepG(c, d, a, b, x[3], 14, 0xF4D50D87);
  b = StepG(b, c, d, a, x[8], 20, 0x455A14ED);
  a = StepG(a, b, c, d, x[13], 5, 0xA9E3E905);
  d = StepG(d, a, b, c, x[2], 9, 0xFCEFA3F8);
  c = StepG(c, d, a, b, x[7], 14, 0x676F02D9);
  b = StepG(b, c, d, a, x[12], 20, 0x8D2A4C8A);

  a = StepH(a, b, c, d, x[5], 4, 0xFFFA3942);
  d = StepH(d, a, b, c, x[8], 11, 0x8771F681);
  c = StepH(c, d, a, b, x[11], 16, 0x6D9D6122);
  b = StepH(b, c, d, a, x[14], 23, 0xFDE5380C);
  a = StepH(a, b, c, d, x[1], 4, 0xA4BEEA44);
  d = StepH(d, a, b, c, x[4], 11, 0x4BDECFA9);
  c = StepH(c, d, a, b, x[7], 16, 0xF6BB4B60);
  b = StepH(b, c, d, a, x[10], 23, 0xBEBFBC70);
  a = StepH(a, b, c, d, x[13], 4, 0x289B7EC6);
  d = StepH(d, a, b, c, x[0], 11, 0xEAA127FA);
  c = StepH(c, d, a, b, x[3], 16, 0xD4EF3085);
  b = StepH(b, c, d, a, x[6], 23, 0x04881D05);
  a = StepH(a, b, c, d, x[9], 4, 0xD9D4D039);
  d = StepH(d, a, b, c, x[12], 11, 0xE6DB99E5);
  c = StepH(c, d, a, b, x[15], 16, 0x1FA27CF8);
  b = StepH(b, c, d, a, x[2], 23, 0xC4AC5665);

  a = StepI(a, b, c, d, x[0], 6, 0xF4292244);
  d = StepI(d, a, b, c, x[7], 10, 0x432AFF97);
  c = StepI(c, d, a, b, x[14], 15, 0xAB9423A7);
  b = StepI(b, c, d, a, x[5], 21, 0xFC93A039);
  a = StepI(a, b, c, d, x[12], 6, 0x655B59C3);
  d = StepI(d, a, b, c, x[3], 10, 0x8F0CCC92);
  c = StepI(c, d, a, b, x[10], 15, 0xFFEFF47D);
  b = StepI(b, c, d, a, x[1], 21, 0x85845DD1);
  a = StepI(a, b, c, d, x[8], 6, 0x6FA87E4F);
  d = StepI(d, a, b, c, x[15], 10, 0xFE2CE6E0);
  c = StepI(c, d, a, b, x[6], 15, 0xA3014314);
  b = StepI(b, c, d, a, x[13], 21, 0x4E0811A1);
  a = StepI(a, b, c, d, x[4], 6, 0xF7537E82);
  d = StepI(d, a, b, c, x[11], 10, 0xBD3AF235);
  c = StepI(c, d, a, b, x[2], 15, 0x2AD7D2BB);
  b = StepI(b, c, d, a, x[9], 21, 0xEB86D391);

  state[0] = AddUnsigned(state[0], a);
  state[1] = AddUnsigned(state[1], b);
  state[2] = AddUnsigned(state[2], c);
  state[3] = AddUnsigned(state[3], d);
}

// Counts characters up to the bound: each character converts to at least one ANSI byte, so
// reaching the bound here means the converted bytes would too.
bool AtLeastBoundCharacters(const std::string& utf8) {
  if (utf8.size() < kMaxBytes) return false;
  size_t characters = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80 && ++characters >= kMaxBytes) return true;
  return false;
}

}  // namespace

std::string DigestText(const std::string& utf8) {
  if (utf8.empty()) return DigestBytes(std::string());
  // Fail before converting a text that is certainly too long.
  if (AtLeastBoundCharacters(utf8)) RaiseOverflow();
  return DigestBytes(codepage::ToAnsi(utf8));
}

std::string DigestBytes(const std::string& bytes) {
  const size_t count = bytes.size();
  if (count >= kMaxBytes) RaiseOverflow();

  Word state[4] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};
  const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t whole = count - count % 64;
  for (size_t offset = 0; offset < whole; offset += 64) TransformBlock(state, data, offset);

  unsigned char tail[64] = {};
  const size_t rest = count - whole;
  std::memcpy(tail, data + whole, rest);
  tail[rest] = 0x80;
  if (rest >= 56) {  // no room left for the length: it goes into one more block
    TransformBlock(state, tail, 0);
    std::memset(tail, 0, sizeof tail);
  }
  const Word bits = static_cast<Word>(count) * 8;
  tail[56] = static_cast<unsigned char>(bits);
  tail[57] = static_cast<unsigned char>(bits >> 8);
  tail[58] = static_cast<unsigned char>(bits >> 16);
  tail[59] = static_cast<unsigned char>(bits >> 24);
  TransformBlock(state, tail, 0);

  static const char kHex[] = "0123456789ABCDEF";
  std::string digest;
  digest.reserve(32);
  for (Word w : state) {
    unsigned char b[4];
    WordToBytes(w, b);
    for (int i = 3; i >= 0; --i) {  // least significant byte first
      digest.push_back(kHex[b[i] >> 4]);
      digest.push_back(kHex[b[i] & 15]);
    }
  }
  return digest;
}

}  // namespace falcrest::md5
