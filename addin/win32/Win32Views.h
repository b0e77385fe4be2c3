#pragma once
// The add-in's views on Win32: message boxes with MessageBoxW and the device dialog as a
// real modal dialog, owned by the client's active window.
#include <windows.h>
// The windowing seam's member is MessageBox in the portable core too: keep the name.
#undef MessageBox

#include <string>

#include "addin/dialog/DeviceDialogView.h"
#include "addin/objectmodel/Windowing.h"

namespace reminder::win32 {

class Win32Windowing : public ui::Windowing {
 public:
  void MessageBox(const std::string& text, const std::string& caption, ui::Icon icon) override;
  void OpenUrl(const std::string& url) override;
  void SetCursor(ui::Cursor cursor) override;
  // The add-in never asks for it; no input is ever injected.
  void InjectLeftButton(bool) override {}
};

class Win32DeviceDialog : public DeviceDialogView {
 public:
  // Runs the dialog until OK, Cancel or its close box; a dialog that cannot be created
  // counts as closed.
  void ShowModal(AppointmentDevices& dialog) override;
};

// Installs both as the module's views (once; later calls change nothing).
void InstallViews();

}  // namespace reminder::win32
