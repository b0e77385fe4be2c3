#pragma once
// The windowing seam: message boxes, opening a web page, the pointer. The host installs
// its implementation (terminal, scripted) once at start; the add-in and the page call it.
#include <cstdio>
#include <string>

namespace ui {

enum class Icon { kCritical, kInformation };
enum class Cursor { kArrow, kHand };

class Windowing {
 public:
  virtual ~Windowing() = default;
  // A modal message box with one OK button.
  virtual void MessageBox(const std::string& text, const std::string& caption, Icon icon) = 0;
  // Opens the URL in the user's browser; the result is not examined.
  virtual void OpenUrl(const std::string& url) = 0;
  virtual void SetCursor(Cursor cursor) = 0;
  // Injects a left-button press (true) or release (false), as the link's hover effect does.
  virtual void InjectLeftButton(bool down) = 0;
};

namespace detail {
inline Windowing*& Installed() {
  static Windowing* windowing = nullptr;
  return windowing;
}
}  // namespace detail

// Installs the process's windowing; nullptr removes it.
inline void Install(Windowing* windowing) { detail::Installed() = windowing; }
// The installed windowing. Before the host installs one, message boxes go to stderr.
inline Windowing& Current() {
  struct StderrWindowing : Windowing {
    void MessageBox(const std::string& text, const std::string& caption, Icon) override {
      std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    }
    void OpenUrl(const std::string& url) override { std::fprintf(stderr, "open %s\n", url.c_str()); }
    void SetCursor(Cursor) override {}
    void InjectLeftButton(bool) override {}
  };
  static StderrWindowing fallback;
  Windowing* installed = detail::Installed();
  return installed ? *installed : fallback;
}

}  // namespace ui
