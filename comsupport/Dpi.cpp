#include "comsupport/Dpi.h"

namespace comsupport {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetWindowContextFn = HANDLE(WINAPI*)(HWND);
using GetAwarenessFn = int(WINAPI*)(HANDLE);
constexpr int kPerMonitorAware = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE

template <class F>
F User32(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int WindowDpi(HWND window) {
  // A window that is not per-monitor aware is told 96 by the system, whatever it draws at.
  static const auto dpiForWindow = User32<GetDpiForWindowFn>("GetDpiForWindow");
  static const auto windowContext = User32<GetWindowContextFn>("GetWindowDpiAwarenessContext");
  static const auto awareness = User32<GetAwarenessFn>("GetAwarenessFromDpiAwarenessContext");
  if (window && dpiForWindow && windowContext && awareness && awareness(windowContext(window)) == kPerMonitorAware) {
    const UINT dpi = dpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

SIZE TextExtent(HFONT font, const std::wstring& text) {
  SIZE size{};
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return size;
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  size.cy = metrics.tmHeight;
  SelectObject(dc, old);
  DeleteDC(dc);
  return size;
}

int CheckBoxMarkWidth(HFONT font, int dpi) {
  // The box is 12 pixels and one at 96 DPI; the text starts half a digit's width after it.
  const int box = MulDiv(12, dpi, 96) + 1;
  return box + TextExtent(font, L"0").cx / 2 + 1;
}

}  // namespace comsupport
