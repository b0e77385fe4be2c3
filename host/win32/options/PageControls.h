#pragma once
// The page commands of a scenario, done to the real controls of a hosted page: the user ID
// and password edits, the device check boxes (in the page's row order) and the link.
#include <windows.h>

#include <string>
#include <vector>

namespace host::win32 {

class PageControls {
 public:
  explicit PageControls(HWND page);
  // {"type","UserID","demo"}, {"tick","SMS"}, {"untick","SMS"}, {"click","link"},
  // {"hover","X","Y"} (twips in the link), {"release"}, {"show"}.
  bool Command(const std::vector<std::wstring>& words, std::wstring& error);

 private:
  bool Type(const std::wstring& box, const std::wstring& text, std::wstring& error);
  bool Tick(const std::wstring& type, bool ticked, std::wstring& error);
  HWND Link() const;

  std::vector<HWND> edits_;
  std::vector<HWND> checkBoxes_;
  std::vector<HWND> all_;
};

}  // namespace host::win32
