#pragma once
// Base64 of a text's ANSI bytes, with a CR LF after every 72nd character.
#include <string>

namespace falcrest {

class Base64Class {
 public:
  // Base64 text of sString; sString gains the NUL padding characters that were encoded.
  // Error 9 for the empty text or a byte count that is not a whole number of groups.
  std::string Encode64(std::string& sString) const;
  // Decoded text; sString loses every CR and LF. Error 0x80040000 "MyDecode" "Input string
  // is not valid Base64." when its length is not a multiple of 4; error 9 for the empty text.
  std::string Decode64(std::string& sString) const;
};

}  // namespace falcrest
