#pragma once
// A picture of a window as it is on the screen, frame included, written as a 24-bit BMP
// (scripts/pictures.sh turns it into a PNG).
#include <windows.h>

#include <string>

namespace host::win32 {

// False when the window could not be read or the file not written.
bool SaveWindowPicture(HWND window, const std::wstring& path);

}  // namespace host::win32
