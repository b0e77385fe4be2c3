#include "comsupport/CaptionTips.h"

#include <commctrl.h>

namespace comsupport {

CaptionTips::~CaptionTips() {
  if (tips_ && IsWindow(tips_)) DestroyWindow(tips_);
}

void CaptionTips::Show(HWND label, const std::wstring& text, bool cut) {
  const LONG_PTR style = GetWindowLongPtrW(label, GWL_STYLE);
  // A label hears the pointer (for its tooltip) only while it is cut.
  const LONG_PTR wanted =
      cut ? (style | SS_ENDELLIPSIS | SS_NOTIFY) : (style & ~static_cast<LONG_PTR>(SS_ELLIPSISMASK | SS_NOTIFY));
  if (wanted != style) {
    SetWindowLongPtrW(label, GWL_STYLE, wanted);
    InvalidateRect(label, nullptr, TRUE);
  }
  if (!cut && !tips_) return;
  if (!tips_) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(label, GA_ROOT),
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tips_) return;
  }
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(label);
  tool.uId = reinterpret_cast<UINT_PTR>(label);
  SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (!cut) return;
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace comsupport
