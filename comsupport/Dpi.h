#pragma once
// Display scaling for the Win32 views: the DPI a window is drawn at, caption extents in a
// font, and the room a check box takes beside its caption. Systems before Windows 10 have
// no DPI per window; there the screen's counts.
#include <windows.h>

#include <string>

namespace comsupport {

// The message a top-level window gets when its DPI changes (wParam: the new DPI in both
// words, lParam: the suggested window rectangle), and the one its children get after it.
inline constexpr UINT kDpiChanged = 0x02E0;
inline constexpr UINT kDpiChangedAfterParent = 0x02E3;

// The window's own DPI where the system keeps one per monitor for it; the screen's otherwise.
int WindowDpi(HWND window);

// Width and line height, in pixels, of a one-line text drawn in the font.
SIZE TextExtent(HFONT font, const std::wstring& text);

// What a check box drawn at `dpi` takes left of its caption: the box and the gap before the
// text, with a pixel for the focus rectangle after it.
int CheckBoxMarkWidth(HFONT font, int dpi);

}  // namespace comsupport
