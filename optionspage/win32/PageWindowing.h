#pragma once
// The settings page's windowing on Win32: message boxes, the browser through the shell, the
// system cursors, and the link's hold on the pointer. The page asks for a pressed button
// while the pointer is over its link, so that it keeps seeing moves after the pointer leaves;
// here that is a capture of the pointer by the link's window, never injected input, which
// would reach every other program as well.
#include <windows.h>

#include "addin/objectmodel/Windowing.h"

namespace orvane::win32 {

class PageWindowing final : public ui::Windowing {
 public:
  void MessageBox(const std::string& text, const std::string& caption, ui::Icon icon) override;
  void OpenUrl(const std::string& url) override;
  void SetCursor(ui::Cursor cursor) override;
  // Captures the pointer for the link being served (down), or lets it go (up).
  void InjectLeftButton(bool down) override;
};

// Installs the page's windowing for this module, once.
void InstallPageWindowing();

// While one lives, the page's pointer requests concern this link window; its owner is the
// page window that message boxes belong to.
class LinkScope {
 public:
  explicit LinkScope(HWND link);
  ~LinkScope();
  LinkScope(const LinkScope&) = delete;
  LinkScope& operator=(const LinkScope&) = delete;

 private:
  HWND previous_;
};

// True while the link lets the pointer go itself (its WM_CAPTURECHANGED is then no leave).
bool ReleasingCapture();

}  // namespace orvane::win32
