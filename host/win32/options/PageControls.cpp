#include "host/win32/options/PageControls.h"

#include <commctrl.h>

#include "optionspage/page/PageLayout.h"

namespace host::win32 {

namespace {

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t actual[64] = {};
  GetClassNameW(window, actual, 64);
  return lstrcmpiW(actual, name) == 0;
}

std::wstring Text(HWND window) {
  std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
  return text;
}

std::wstring Wide(const char* text) { return std::wstring(text, text + strlen(text)); }

BOOL CALLBACK Collect(HWND window, LPARAM out) {
  reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
  return TRUE;
}

// Swallows the edit's own change notification while its text is set, so that the page sees
// exactly one, the one sent afterwards as a keystroke would.
LRESULT CALLBACK QuietEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR edit) {
  if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && HWND(lParam) == HWND(edit)) return 0;
  return DefSubclassProc(window, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int TwipsToPixels(int twips, int axis) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, axis);
  ReleaseDC(nullptr, screen);
  return MulDiv(twips, dpi, 1440);
}

}  // namespace

PageControls::PageControls(HWND page) {
  EnumChildWindows(page, Collect, reinterpret_cast<LPARAM>(&all_));  // depth first, in tab order
  for (HWND window : all_) {
    if (IsClass(window, L"Edit")) edits_.push_back(window);
    const LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
    if (IsClass(window, L"Button") &&
        (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE)) {
      checkBoxes_.push_back(window);
    }
  }
}

bool PageControls::Command(const std::vector<std::wstring>& words, std::wstring& error) {
  auto is = [&](size_t i, const wchar_t* word) { return words.size() > i && lstrcmpiW(words[i].c_str(), word) == 0; };
  bool done = false;
  if (is(0, L"show")) {
    done = true;
  } else if (is(0, L"type") && words.size() >= 2) {
    std::wstring text;
    for (size_t i = 2; i < words.size(); ++i) text += (i > 2 ? L" " : L"") + words[i];
    done = Type(words[1], text, error);
  } else if ((is(0, L"tick") || is(0, L"untick")) && words.size() == 2) {
    done = Tick(words[1], is(0, L"tick"), error);
  } else if (is(0, L"click") && is(1, L"link") && words.size() == 2) {
    HWND link = Link();
    if (!link) {
      error = L"the page has no link";
      return false;
    }
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    done = true;
  } else if (is(0, L"hover") && words.size() == 3) {
    HWND link = Link();
    if (!link) {
      error = L"the page has no link";
      return false;
    }
    const int x = TwipsToPixels(_wtoi(words[1].c_str()), LOGPIXELSX);
    const int y = TwipsToPixels(_wtoi(words[2].c_str()), LOGPIXELSY);
    SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    done = true;
  } else if (is(0, L"release") && words.size() == 1) {
    HWND link = Link();
    if (!link) {
      error = L"the page has no link";
      return false;
    }
    POINT at = {};
    GetCursorPos(&at);
    ScreenToClient(link, &at);
    SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    done = true;
  } else {
    error = L"unknown page command";
  }
  Pump();
  return done;
}

// UserID is the plain edit, Password the one that hides its characters.
bool PageControls::Type(const std::wstring& box, const std::wstring& text, std::wstring& error) {
  const bool password = lstrcmpiW(box.c_str(), L"Password") == 0;
  if (!password && lstrcmpiW(box.c_str(), L"UserID") != 0) {
    error = L"no box named " + box + L": UserID or Password";
    return false;
  }
  HWND edit = nullptr;
  for (HWND candidate : edits_) {
    if (((GetWindowLongW(candidate, GWL_STYLE) & ES_PASSWORD) != 0) == password) edit = candidate;
  }
  if (!edit) {
    error = L"the page has no " + box + L" box";
    return false;
  }
  if (Text(edit) == text) return true;  // the same text: nothing changes in the box
  HWND parent = GetParent(edit);
  SetWindowSubclass(parent, QuietEdit, 1, reinterpret_cast<DWORD_PTR>(edit));
  SetWindowTextW(edit, text.c_str());
  RemoveWindowSubclass(parent, QuietEdit, 1);
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), EN_CHANGE), reinterpret_cast<LPARAM>(edit));
  return true;
}

// A disabled box takes no click, as for a user; the command still holds.
bool PageControls::Tick(const std::wstring& type, bool ticked, std::wstring& error) {
  size_t row = orvane::kDeviceRows.size();
  for (size_t i = 0; i < orvane::kDeviceRows.size(); ++i) {
    if (lstrcmpiW(Wide(orvane::kDeviceRows[i].deviceType).c_str(), type.c_str()) == 0) row = i;
  }
  if (row == orvane::kDeviceRows.size()) {
    error = L"no device type named " + type;
    return false;
  }
  if (row >= checkBoxes_.size()) {
    error = L"the page has no check box for " + type;
    return false;
  }
  HWND box = checkBoxes_[row];
  const bool checked = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (IsWindowEnabled(box) && checked != ticked) SendMessageW(box, BM_CLICK, 0, 0);
  return true;
}

// The link shows the sign-up or the set-up caption.
HWND PageControls::Link() const {
  for (HWND window : all_) {
    const std::wstring text = Text(window);
    if (text == Wide(orvane::kSignUpCaption) || text == Wide(orvane::kSetUpDevicesCaption)) return window;
  }
  return nullptr;
}

}  // namespace host::win32
