// options-pictures.exe FOLDER NAME: opens the Options dialog with the settings page, as the
// add-in adds it, and writes FOLDER\NAME.bmp, a picture of the dialog as it is on the screen
// (scripts/pictures-options.sh turns it into a PNG). The page reads whatever settings are stored.
#include <windows.h>

#include <fstream>
#include <string>

#include "host/win32/options/OptionsDialog.h"

namespace {

void Pump(DWORD milliseconds, host::win32::OptionsDialog& dialog) {
  const DWORD end = GetTickCount() + milliseconds;
  while (GetTickCount() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (dialog.PreTranslateMessage(&msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(20);
  }
}

// The window's rectangle of the screen, frame included, as a 24-bit bottom-up BMP.
bool SavePicture(HWND window, const std::wstring& path) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) != 0;
  SelectObject(memory, old);
  bool written = false;
  if (copied && bits) {
    const DWORD size = ((DWORD(width) * 3 + 3) & ~3u) * DWORD(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + size;
    header.biSizeImage = size;
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(static_cast<const char*>(bits), size);
    written = bool(out);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return written;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    fputws(L"usage: options-pictures.exe FOLDER NAME\n", stderr);
    return 2;
  }
  OleInitialize(nullptr);
  int status = 1;
  {
    host::win32::OptionsDialog dialog(nullptr, nullptr, [](IDispatch* pages) {
      LPOLESTR name = const_cast<LPOLESTR>(L"Add");
      DISPID id = 0;
      if (FAILED(pages->GetIDsOfNames(IID_NULL, &name, 1, 0, &id))) return;
      VARIANT args[2];
      args[1].vt = VT_BSTR;
      args[1].bstrVal = SysAllocString(L"Orvane.ReminderSetting");
      args[0].vt = VT_BSTR;
      args[0].bstrVal = SysAllocString(L"Tarvanel Reminder");
      DISPPARAMS params = {args, nullptr, 2, 0};
      pages->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
      VariantClear(&args[0]);
      VariantClear(&args[1]);
    });
    dialog.Open();
    if (dialog.IsOpen() && !dialog.TabTitles().empty()) {
      SetWindowPos(dialog.Window(), HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
      SetForegroundWindow(dialog.Window());
      Pump(1500, dialog);
      const std::wstring path = std::wstring(argv[1]) + L"\\" + argv[2] + L".bmp";
      if (SavePicture(dialog.Window(), path)) status = 0;
    } else {
      fputws(L"the Options dialog has no page (is Orvane.ocx registered?)\n", stderr);
    }
    dialog.Cancel();
  }
  OleUninitialize();
  return status;
}
