// Base64Class::Decode64 on any text, then Encode64 of what it decoded: decoding that again
// must give the same text back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/digest/Base64Class.h"
#include "library/support/Error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const falcrest::Base64Class base64;
  std::string input(reinterpret_cast<const char*>(data), size);
  std::string decoded;
  try {
    decoded = base64.Decode64(input);
  } catch (const falcrest::Error&) {
    return 0;
  }
  if (decoded.empty()) return 0;
  std::string argument = decoded;
  std::string encoded = base64.Encode64(argument);
  const std::string again = base64.Decode64(encoded);
  if (again != decoded) {
    std::fprintf(stderr, "Decode64(Encode64(t)) != t for a t of %zu bytes\n", decoded.size());
    std::abort();
  }
  return 0;
}
