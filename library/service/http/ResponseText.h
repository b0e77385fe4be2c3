#pragma once
// The text of an answer: its bytes read in the encoding they are written in, decided the same
// way whatever backend fetched them.
#include <string>

namespace falcrest::http {

// The answer's body as UTF-8 text. The encoding is the body's byte-order mark (UTF-8, UTF-16
// little- or big-endian; the mark is dropped), else the charset of `content_type` ("utf-8",
// "utf-16", "utf-16le", "utf-16be", in any letter case, quoted or not; "utf-16" without a mark
// is little-endian, as Windows reads it), else UTF-8. Any other charset is read as UTF-8.
// Broken UTF-16 (a lone surrogate, an odd last byte) reads as U+FFFD.
std::string ResponseText(std::string body, const std::string& content_type);

}  // namespace falcrest::http
