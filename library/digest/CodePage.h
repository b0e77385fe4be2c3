#pragma once
// The ANSI code-page seam: UTF-8 text to and from the bytes of the active ANSI code page,
// with the platform's replacement of characters the page cannot represent.
// On POSIX the page is FALCREST_ANSI_CODEPAGE (a Windows code page number), default 1252;
// on Windows it is the system's active ANSI code page.
#include <cstddef>
#include <string>

namespace falcrest::codepage {

// The text's bytes in the ANSI code page; unmappable characters become the page's
// replacement byte ("?").
std::string ToAnsi(const std::string& utf8);
// The bytes read in the ANSI code page, as UTF-8 text.
std::string FromAnsi(const std::string& bytes);
// Number of UTF-16 code units of a UTF-8 text (the length the platform counts).
size_t Utf16Length(const std::string& utf8);
// True when every byte is below 0x80: such text has the same bytes in every ANSI code page.
bool IsAscii(const std::string& text);

}  // namespace falcrest::codepage
