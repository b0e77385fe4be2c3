#pragma once
// Whole captions of labels drawn cut short ("..."), shown in a tooltip over the label.
#include <windows.h>

#include <string>

namespace comsupport {

class CaptionTips {
 public:
  CaptionTips() = default;
  ~CaptionTips();
  CaptionTips(const CaptionTips&) = delete;
  CaptionTips& operator=(const CaptionTips&) = delete;

  // Draws the label with "..." at its end and `text` in its tooltip when `cut`, or whole
  // and without a tooltip otherwise.
  void Show(HWND label, const std::wstring& text, bool cut);
  // The tooltip window, null before the first cut label.
  HWND Window() const { return tips_; }

 private:
  HWND tips_ = nullptr;
};

}  // namespace comsupport
