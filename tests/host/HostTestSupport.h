#pragma once
// A temporary folder for one test, with the registry file pointed into it, so that the
// client under test never reads the user's add-ins or settings.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace host::test {

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/host-test-XXXXXX";
    path_ = mkdtemp(pattern);
    setenv("FALCREST_REGISTRY", (path_ + "/registry.reg").c_str(), 1);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string Path(const std::string& name) const { return path_ + "/" + name; }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
    return names;
  }

 private:
  std::string path_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace host::test
