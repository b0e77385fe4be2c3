#pragma once
// The form in which the service keeps and compares passwords.
#include <string>

namespace reminder_service {

// Upper-case MD5 hex of the password, taken over its Windows-1252 bytes as the client
// digests it; characters outside that code page become "?" as the client's conversion makes them.
std::string PasswordDigest(const std::string& utf8Password);

// Upper-case MD5 hex of the bytes as given.
std::string Md5Hex(const std::string& bytes);

}  // namespace reminder_service
