#include "optionspage/win32/PageView.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <utility>

#include "comsupport/Dpi.h"
#include "comsupport/Module.h"
#include "comsupport/Text.h"
#include "optionspage/win32/ControlIds.h"
#include "optionspage/win32/PagePlacement.h"
#include "optionspage/win32/PageWindowing.h"

namespace orvane::win32 {

namespace {

void RegisterClasses(WNDPROC page, WNDPROC link) {
  const HINSTANCE module = comsupport::ThisModule();
  WNDCLASSEXW known{};
  known.cbSize = sizeof(known);
  if (GetClassInfoExW(module, kPageClass, &known)) return;
  WNDCLASSEXW window{};
  window.cbSize = sizeof(window);
  window.lpfnWndProc = page;
  window.hInstance = module;
  window.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window.lpszClassName = kPageClass;
  RegisterClassExW(&window);
  // The link sets the cursor itself on every move: no class cursor.
  window.lpfnWndProc = link;
  window.hCursor = nullptr;
  window.lpszClassName = kLinkClass;
  RegisterClassExW(&window);
}

int TextHeight(int dpi) { return MulDiv(825, dpi, 7200); }  // 8.25 pt
int LinkHeight(int dpi) { return MulDiv(9, dpi, 72); }     // 9 pt

// How far the page may grow on the screen its parent is on.
int RoomToGrow(HWND parent, int width) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromWindow(parent, MONITOR_DEFAULTTOPRIMARY), &monitor)) return 0;
  return (monitor.rcWork.right - monitor.rcWork.left) - width - GetSystemMetrics(SM_CXDLGFRAME) * 8;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The row of a device check box's ID, or -1.
int RowOf(int id) {
  for (int row = 0; row < 10; ++row) {
    if (kDeviceCheckBoxIds[row] == id) return row;
  }
  return -1;
}

}  // namespace

PageView::PageView(ReminderSetting& page, HWND parent, const RECT& rect) : page_(page) {
  RegisterClasses(&PageView::PageProc, &PageView::LinkProc);
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                            comsupport::ThisModule(), this);
  CreateControls();
  ChangeDpi(comsupport::WindowDpi(window_ ? window_ : parent));
}

SIZE PageView::NaturalSize(const ReminderSetting& page, int dpi) {
  PageFonts fonts{MakePageFont(TextHeight(dpi), false), MakePageFont(LinkHeight(dpi), false)};
  const SIZE size = PlacePage(page.Layout(), dpi, fonts, RoomToGrow(nullptr, MulDiv(kPageWidth, dpi, 1440))).size;
  DeleteObject(fonts.text);
  DeleteObject(fonts.link);
  return size;
}

void PageView::ChangeDpi(int dpi) {
  const Fonts old = fonts_;
  dpi_ = dpi;
  fonts_.text = MakePageFont(TextHeight(dpi), false);
  fonts_.link = MakePageFont(LinkHeight(dpi), false);
  fonts_.linkHot = MakePageFont(LinkHeight(dpi), true);
  const std::vector<Control>& controls = page_.Layout().Controls();
  for (size_t i = 0; i < controls.size() && i < children_.size(); ++i) {
    SendMessageW(children_[i], WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(controls[i])), FALSE);
  }
  for (HFONT font : {old.text, old.link, old.linkHot}) {
    if (font) DeleteObject(font);
  }
  Render();
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

PageView::~PageView() {
  // The link answers nothing more: letting the pointer go is no leave now.
  HWND link = std::exchange(link_, nullptr);
  if (link && GetCapture() == link) ReleaseCapture();
  if (window_) DestroyWindow(window_);
  DeleteObject(fonts_.text);
  DeleteObject(fonts_.link);
  DeleteObject(fonts_.linkHot);
}

void PageView::Move(const RECT& rect) {
  MoveWindow(window_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  Render();
}

void PageView::Show(bool visible) { ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE); }

HFONT PageView::FontOf(const Control& control) const {
  if (control.name != "lblHyperlink") return fonts_.text;
  return control.fontUnderline ? fonts_.linkHot : fonts_.link;
}

void PageView::CreateControls() {
  const HINSTANCE module = comsupport::ThisModule();
  for (const Control& control : page_.Layout().Controls()) {
    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (control.kind) {
      case ControlKind::kLabel:
        style |= SS_LEFT | SS_NOPREFIX;
        break;
      case ControlKind::kTextBox:
        windowClass = L"EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL | (control.passwordChar.empty() ? 0 : ES_PASSWORD);
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case ControlKind::kFrame:
        windowClass = L"BUTTON";
        style |= BS_GROUPBOX | WS_CLIPSIBLINGS;  // below the rows it holds; it never paints over them
        break;
      case ControlKind::kCheckBox:
        windowClass = L"BUTTON";
        style |= WS_TABSTOP | BS_CHECKBOX | BS_NOTIFY;
        break;
    }
    if (control.name == "lblHyperlink") windowClass = kLinkClass;
    // Placed, and given its font, once every control exists.
    const int id = 1000 + control.tabIndex;
    HWND child = CreateWindowExW(exStyle, windowClass, comsupport::Utf16(control.caption).c_str(), style, 0, 0, 0, 0,
                                 window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, this);
    if (!control.passwordChar.empty()) SendMessageW(child, EM_SETPASSWORDCHAR, control.passwordChar[0], 0);
    if (id == kLblHyperlink) link_ = child;
    children_.push_back(child);
  }
}

void PageView::Render() {
  rendering_ = true;
  const std::vector<Control>& controls = page_.Layout().Controls();
  for (size_t i = 0; i < controls.size() && i < children_.size(); ++i) {
    const Control& control = controls[i];
    HWND child = children_[i];
    const std::wstring text = comsupport::Utf16(control.caption);
    if (WindowText(child) != text) SetWindowTextW(child, text.c_str());
    if ((IsWindowEnabled(child) != FALSE) != control.enabled) EnableWindow(child, control.enabled);
    if (control.kind == ControlKind::kCheckBox) {
      const WPARAM state = control.value == 1 ? BST_CHECKED : control.value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
      if (static_cast<WPARAM>(SendMessageW(child, BM_GETCHECK, 0, 0)) != state) {
        SendMessageW(child, BM_SETCHECK, state, 0);
      }
    }
  }
  Place();
  if (link_) InvalidateRect(link_, nullptr, TRUE);
  rendering_ = false;
}

void PageView::Place() {
  if (!window_) return;
  RECT client{};
  GetClientRect(window_, &client);
  const PageFonts fonts{fonts_.text, fonts_.link};
  const PagePlacement placed = PlacePage(page_.Layout(), dpi_, fonts, RoomToGrow(GetParent(window_), client.right));
  const std::vector<Control>& controls = page_.Layout().Controls();
  for (size_t i = 0; i < placed.rects.size() && i < children_.size(); ++i) {
    const RECT& r = placed.rects[i];
    RECT now{};
    GetWindowRect(children_[i], &now);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&now), 2);
    if (!EqualRect(&now, &r)) {
      SetWindowPos(children_[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (controls[i].kind == ControlKind::kLabel && children_[i] != link_) {
      tips_.Show(children_[i], comsupport::Utf16(controls[i].caption), placed.cut[i]);
    }
  }
  if (link_) {
    const RECT& r = placed.rects[static_cast<size_t>(kLblHyperlink - 1000)];
    // The pointer is over the link wherever its window is.
    page_.SetLinkExtent(MulDiv(r.right - r.left, 1440, dpi_), MulDiv(r.bottom - r.top, 1440, dpi_));
  }
  // The page grows where its rows need more room than its container gave it.
  if (placed.size.cx > client.right || placed.size.cy > client.bottom) {
    SetWindowPos(window_, nullptr, 0, 0, std::max(placed.size.cx, client.right), std::max(placed.size.cy, client.bottom),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

LRESULT PageView::OnCommand(int id, int code) {
  if (rendering_) return 0;
  if (code == EN_SETFOCUS || code == BN_SETFOCUS) {
    if (onFocus_) onFocus_();
    return 0;
  }
  LinkScope scope(link_);  // message boxes of the page belong to this page's window
  if (code == EN_CHANGE && (id == kTxtUserId || id == kTxtPassword)) {
    const std::wstring typed = WindowText(GetDlgItem(window_, id));
    const std::string text = comsupport::Utf8(typed.c_str(), typed.size());
    if (id == kTxtUserId) {
      page_.SetUserIdText(text);
    } else {
      page_.SetPasswordText(text);
    }
  } else if (code == BN_CLICKED && RowOf(id) >= 0) {
    page_.ClickCheckBox(static_cast<size_t>(RowOf(id)));
  } else {
    return 0;
  }
  Render();
  return 0;
}

void PageView::LinkPoint(LPARAM l, int& x, int& y) const {
  x = MulDiv(GET_X_LPARAM(l), 1440, dpi_);
  y = MulDiv(GET_Y_LPARAM(l), 1440, dpi_);
}

bool PageView::InsideLink(int x, int y) const { return page_.InsideLink(x, y); }

LRESULT PageView::OnLinkMessage(UINT message, WPARAM w, LPARAM l) {
  LinkScope scope(link_);
  int x = 0;
  int y = 0;
  switch (message) {
    case WM_PAINT:
      PaintLink();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(FontOf(page_.Layout().At("lblHyperlink")));
    case WM_SETCURSOR:
      return TRUE;  // the page sets the cursor on every move
    case WM_MOUSEMOVE:
      // Letting the pointer go makes the system repeat the last move; the pointer has not
      // moved, and the link stays as the release left it until it does.
      if (std::exchange(justReleased_, false) && l == releasePoint_) return 0;
      LinkPoint(l, x, y);
      page_.lblHyperlink_MouseMove(x, y);
      break;
    case WM_LBUTTONDOWN:
      LinkPoint(l, x, y);
      pressedInside_ = InsideLink(x, y);
      // A press outside while the link holds the pointer: the pointer has left.
      if (!pressedInside_) page_.lblHyperlink_MouseMove(x, y);
      break;
    case WM_LBUTTONUP:
      LinkPoint(l, x, y);
      page_.lblHyperlink_MouseUp();
      justReleased_ = true;
      releasePoint_ = l;
      if (pressedInside_ && InsideLink(x, y)) page_.lblHyperlink_Click();
      pressedInside_ = false;
      break;
    case WM_CAPTURECHANGED:
      // Someone else took the pointer (a menu, a drag, another window): the link is left.
      if (!ReleasingCapture() && reinterpret_cast<HWND>(l) != link_ && page_.PageState().HyperlinkHot) {
        page_.lblHyperlink_MouseMove(-1, -1);
      }
      break;
    default:
      return DefWindowProcW(link_, message, w, l);
  }
  Render();
  return 0;
}

void PageView::PaintLink() {
  const Control& link = page_.Layout().At("lblHyperlink");
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(link_, &paint);
  RECT client;
  GetClientRect(link_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ old = SelectObject(dc, FontOf(link));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(link.foreColour.red, link.foreColour.green, link.foreColour.blue));
  const std::wstring text = comsupport::Utf16(link.caption);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(link_, &paint);
}

LRESULT CALLBACK PageView::PageProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(l);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* view = reinterpret_cast<PageView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (view) {
    switch (message) {
      case WM_COMMAND:
        return view->OnCommand(LOWORD(w), HIWORD(w));
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(w);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      case comsupport::kDpiChanged:
        view->ChangeDpi(HIWORD(w));
        return 0;
      case comsupport::kDpiChangedAfterParent:
        view->ChangeDpi(comsupport::WindowDpi(window));
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        view->window_ = nullptr;
        break;
      default:
        break;
    }
  }
  return DefWindowProcW(window, message, w, l);
}

LRESULT CALLBACK PageView::LinkProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(l);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* view = reinterpret_cast<PageView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (!view || !view->link_ || message == WM_NCDESTROY) return DefWindowProcW(window, message, w, l);
  return view->OnLinkMessage(message, w, l);
}

void UnregisterViewClasses() {
  UnregisterClassW(kPageClass, comsupport::ThisModule());
  UnregisterClassW(kLinkClass, comsupport::ThisModule());
}

}  // namespace orvane::win32
