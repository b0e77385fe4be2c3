#include "library/registry/KeyPath.h"

#include <utility>

namespace falcrest::registry {

bool NormalizeKeyPath(const std::string& path, std::string& normal) {
  if (!path.empty() && path[0] == '\\') return false;
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    // A backslash is kept only when a name follows it; UTF-8 text holds no other 0x5C byte.
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == '\\') out.pop_back();
  normal = std::move(out);
  return true;
}

}  // namespace falcrest::registry
