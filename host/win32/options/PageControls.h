#pragma once
// The page commands of a scenario, done to the real controls of a hosted settings page,
// found by the control IDs the page publishes: the user ID and password edits, the device
// check boxes and the link.
#include <windows.h>

#include <string>
#include <vector>

namespace host::win32 {

class PageControls {
 public:
  // page: the tab's window; the control's window is its child. pointer: where the last hover
  // left the pointer, in the link's pixels (kept by the dialog between commands).
  PageControls(HWND page, POINT& pointer);
  // {"type","UserID","demo"}, {"tick","SMS"}, {"untick","SMS"}, {"click","link"},
  // {"hover","X","Y"} (twips in the link), {"release"}, {"show"}.
  bool Command(const std::vector<std::wstring>& words, std::wstring& error);

 private:
  bool Type(const std::wstring& box, const std::wstring& text, std::wstring& error);
  bool Tick(const std::wstring& type, bool ticked, std::wstring& error);
  HWND Control(int id, const wchar_t* what, std::wstring& error) const;

  HWND control_ = nullptr;
  POINT& pointer_;
};

}  // namespace host::win32
