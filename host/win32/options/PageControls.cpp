#include "host/win32/options/PageControls.h"

#include <commctrl.h>

#include "optionspage/page/PageLayout.h"
#include "optionspage/win32/ControlIds.h"

namespace host::win32 {

namespace {

namespace ids = orvane::win32;

std::wstring Text(HWND window) {
  std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
  return text;
}

// Swallows the edit's own change notification while its text is set, so that the page sees
// exactly one, the one sent afterwards as a keystroke would.
LRESULT CALLBACK QuietEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR edit) {
  if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && HWND(lParam) == HWND(edit)) return 0;
  return DefSubclassProc(window, message, wParam, lParam);
}

// What the page posted to itself runs before the next command, as between a user's actions.
void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool Is(const std::vector<std::wstring>& words, size_t i, const wchar_t* word) {
  return words.size() > i && lstrcmpiW(words[i].c_str(), word) == 0;
}

}  // namespace

PageControls::PageControls(HWND page, POINT& pointer) : control_(GetWindow(page, GW_CHILD)), pointer_(pointer) {}

HWND PageControls::Control(int id, const wchar_t* what, std::wstring& error) const {
  HWND window = control_ ? GetDlgItem(control_, id) : nullptr;
  if (!window) error = std::wstring(L"the page has no ") + what;
  return window;
}

bool PageControls::Command(const std::vector<std::wstring>& words, std::wstring& error) {
  bool done = false;
  if (Is(words, 0, L"show") && words.size() == 1) {
    done = control_ != nullptr;
    if (!done) error = L"no page is shown";
  } else if (Is(words, 0, L"type") && words.size() >= 2) {
    std::wstring text;
    for (size_t i = 2; i < words.size(); ++i) text += (i > 2 ? L" " : L"") + words[i];
    done = Type(words[1], text, error);
  } else if ((Is(words, 0, L"tick") || Is(words, 0, L"untick")) && words.size() == 2) {
    done = Tick(words[1], Is(words, 0, L"tick"), error);
  } else if (Is(words, 0, L"click") && Is(words, 1, L"link") && words.size() == 2) {
    if (HWND link = Control(ids::kLblHyperlink, L"link", error)) {
      const LPARAM inside = MAKELPARAM(2, 2);
      SendMessageW(link, WM_MOUSEMOVE, 0, inside);
      SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, inside);
      SendMessageW(link, WM_LBUTTONUP, 0, inside);
      pointer_ = {2, 2};
      done = true;
    }
  } else if (Is(words, 0, L"hover") && words.size() == 3) {
    if (HWND link = Control(ids::kLblHyperlink, L"link", error)) {
      pointer_ = {ids::TwipsToPixels(_wtoi(words[1].c_str())), ids::TwipsToPixels(_wtoi(words[2].c_str()), true)};
      SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(pointer_.x, pointer_.y));
      done = true;
    }
  } else if (Is(words, 0, L"release") && words.size() == 1) {
    if (HWND link = Control(ids::kLblHyperlink, L"link", error)) {
      SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(pointer_.x, pointer_.y));
      done = true;
    }
  } else {
    error = L"unknown page command";
  }
  Pump();
  return done;
}

bool PageControls::Type(const std::wstring& box, const std::wstring& text, std::wstring& error) {
  int id = 0;
  if (lstrcmpiW(box.c_str(), L"UserID") == 0) id = ids::kTxtUserId;
  if (lstrcmpiW(box.c_str(), L"Password") == 0) id = ids::kTxtPassword;
  if (id == 0) {
    error = L"no box named " + box + L": UserID or Password";
    return false;
  }
  HWND edit = Control(id, box.c_str(), error);
  if (!edit) return false;
  if (Text(edit) == text) return true;  // the same text: nothing changes in the box
  HWND parent = GetParent(edit);
  SetWindowSubclass(parent, QuietEdit, 1, reinterpret_cast<DWORD_PTR>(edit));
  SetWindowTextW(edit, text.c_str());
  RemoveWindowSubclass(parent, QuietEdit, 1);
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(edit));
  return true;
}

// A disabled box takes no click, as for a user; the command still holds.
bool PageControls::Tick(const std::wstring& type, bool ticked, std::wstring& error) {
  size_t row = orvane::kDeviceRows.size();
  for (size_t i = 0; i < orvane::kDeviceRows.size(); ++i) {
    const char* name = orvane::kDeviceRows[i].deviceType;
    if (lstrcmpiW(std::wstring(name, name + strlen(name)).c_str(), type.c_str()) == 0) row = i;
  }
  if (row == orvane::kDeviceRows.size()) {
    error = L"no device type named " + type;
    return false;
  }
  HWND box = Control(ids::kDeviceCheckBoxIds[row], (type + L" box").c_str(), error);
  if (!box) return false;
  const bool checked = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (IsWindowEnabled(box) && checked != ticked) SendMessageW(box, BM_CLICK, 0, 0);
  return true;
}

}  // namespace host::win32
