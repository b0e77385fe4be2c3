#pragma once
// Unguessable tokens and comparisons that take the same time wherever the texts differ.
#include <cstddef>
#include <string>

namespace reminder_service {

// `bytes` random bytes from the system's cryptographic generator, as lower-case hex;
// throws std::runtime_error when the generator fails.
std::string RandomToken(size_t bytes);

// True when both texts are equal; the time taken depends on their lengths only.
bool SameText(const std::string& a, const std::string& b);

}  // namespace reminder_service
