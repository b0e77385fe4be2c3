#pragma once
// Key paths as the registry itself resolves them, decided here once so that every backend of
// the registry seam is handed paths in one form.
#include <string>

namespace falcrest::registry {

// The path as the registry resolves it: a run of backslashes between names counts as one and
// trailing backslashes are dropped, so "Software\\Tarvanel\" names "Software\Tarvanel". A path
// that starts with a backslash names no key below a root (the registry answers
// ERROR_BAD_PATHNAME): false, and `normal` is left as it was. The empty path is the root.
bool NormalizeKeyPath(const std::string& path, std::string& normal);

}  // namespace falcrest::registry
