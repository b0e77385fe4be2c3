#pragma once
// Where the client learns the web pages a hosted page opened: Wine's browser launcher runs a
// recorder (registered by UseRecorder) that appends each URL to a file; Last() reads its last
// line, waiting a little for a page that was just clicked, since the launcher runs apart.
#include <string>
#include <vector>

namespace host::win32 {

class UrlFile {
 public:
  UrlFile();
  void SetPath(const std::wstring& path) { path_ = path; }
  // A click may open a page: the next Last() waits for one more line.
  void ExpectOne() { expected_ = Lines().size() + 1; }
  std::wstring Last();
  static bool UseRecorder(const std::wstring& recorder);

 private:
  std::vector<std::wstring> Lines() const;
  std::wstring path_;
  size_t expected_ = 0;
};

}  // namespace host::win32
