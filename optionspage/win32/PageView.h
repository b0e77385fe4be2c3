#pragma once
// The settings page on Win32: one child window per control of the page's layout, laid out
// from twips at the DPI of the page's window, in fonts made for that DPI, and laid out again
// when the DPI changes. What the user does goes to the
// page's handlers; after each, the windows are brought in line with the layout again.
#include <windows.h>

#include <functional>
#include <vector>

#include "comsupport/CaptionTips.h"
#include "optionspage/page/ReminderSetting.h"

namespace orvane::win32 {

class PageView {
 public:
  // The page's window, a child of `parent` at `rect` (the parent's client pixels), hidden
  // until Show.
  PageView(ReminderSetting& page, HWND parent, const RECT& rect);
  ~PageView();
  PageView(const PageView&) = delete;
  PageView& operator=(const PageView&) = delete;

  HWND Window() const { return window_; }
  HWND Link() const { return link_; }
  void Move(const RECT& rect);
  void Show(bool visible);
  // The page's size at `dpi` with its captions as they are now, in pixels.
  static SIZE NaturalSize(const ReminderSetting& page, int dpi);
  // Called when one of the page's controls gets the keyboard focus.
  void OnFocus(std::function<void()> handler) { onFocus_ = std::move(handler); }

 private:
  struct Fonts {
    HFONT text = nullptr;       // Tahoma 8.25 pt
    HFONT link = nullptr;       // Tahoma 9 pt
    HFONT linkHot = nullptr;    // the same, underlined
  };

  static LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM w, LPARAM l);
  static LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT OnCommand(int id, int code);
  LRESULT OnLinkMessage(UINT message, WPARAM w, LPARAM l);
  void PaintLink();

  void CreateControls();
  // Fonts for the DPI, given to every control, then the page laid out again for it.
  void ChangeDpi(int dpi);
  // Brings every window in line with the layout (texts, states, places, the link's font).
  void Render();
  // Places every control for the DPI and the captions it shows now.
  void Place();
  HFONT FontOf(const Control& control) const;
  // The link's pointer position, from its client pixels to twips.
  void LinkPoint(LPARAM l, int& x, int& y) const;
  bool InsideLink(int x, int y) const;

  ReminderSetting& page_;
  HWND window_ = nullptr;
  HWND link_ = nullptr;
  std::vector<HWND> children_;  // in the order of the layout's controls
  int dpi_ = 96;
  Fonts fonts_;
  comsupport::CaptionTips tips_;
  bool rendering_ = false;      // edits made by Render are not the user's
  bool pressedInside_ = false;  // the left button went down over the link
  bool justReleased_ = false;   // the last link message was the button's release, at:
  LPARAM releasePoint_ = 0;
  std::function<void()> onFocus_;
};

// Removes the window classes of the view (the module is about to go).
void UnregisterViewClasses();

}  // namespace orvane::win32
