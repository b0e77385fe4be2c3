#pragma once
// Where the settings page's controls go at a DPI: the layout's twips in pixels, then every
// label and check box given the room its caption takes in its font. Rows of the device frame
// that need more room widen the frame and the page, by up to half the page's width again;
// beyond that the longest labels end in "...". Labels never reach past the frame they are in.
#include <windows.h>

#include <vector>

#include "optionspage/page/PageLayout.h"

namespace orvane::win32 {

struct PageFonts {
  HFONT text = nullptr;  // Tahoma 8.25 pt
  HFONT link = nullptr;  // Tahoma 9 pt
};

struct PagePlacement {
  std::vector<RECT> rects;  // in pixels of the page, in the order of the layout's controls
  std::vector<bool> cut;    // the label shows its caption cut short, with "..."
  SIZE size{};              // the page's client area
};

// Tahoma of that pixel height (underlined or not), as the page draws its text.
HFONT MakePageFont(int height, bool underline);

// `room`: how many pixels the page may grow by on its screen.
PagePlacement PlacePage(const PageLayout& layout, int dpi, const PageFonts& fonts, int room);

}  // namespace orvane::win32
