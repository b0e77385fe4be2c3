// The link's hover on the real window: the pointer entering the link underlines it and shows
// the hand, leaving it (or releasing the button over it) takes both away, and the link holds
// the pointer in between by capturing it; no mouse input is ever injected, which would reach
// every other program.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "SettingsKeyGuard.h"
#include "optionspage/win32/ControlIds.h"
#include "optionspage/win32/PageView.h"
#include "optionspage/win32/PageWindowing.h"

namespace {

using orvane::win32::TwipsToPixels;

// Counts injected mouse input seen system-wide while it is installed: all of it, and the
// button presses and releases among it. Wine's own ReleaseCapture injects a move by nothing
// (so that windows learn where the pointer is); only injected buttons are the page's doing.
class InjectionWatch {
 public:
  InjectionWatch() {
    Settle();
    injected = 0;
    buttons = 0;
    hook_ = SetWindowsHookExW(WH_MOUSE_LL, &InjectionWatch::Hook, GetModuleHandleW(nullptr), 0);
  }
  ~InjectionWatch() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  bool Installed() const { return hook_ != nullptr; }
  // The counts once queued hook calls have arrived.
  static int Injected() {
    Settle();
    return injected;
  }
  static int InjectedButtons() {
    Settle();
    return buttons;
  }

 private:
  static void Settle() {
    MSG message;
    for (int i = 0; i < 20; ++i) {
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      Sleep(5);
    }
  }
  static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION && (reinterpret_cast<MSLLHOOKSTRUCT*>(l)->flags & LLMHF_INJECTED)) {
      ++injected;
      if (w != WM_MOUSEMOVE && w != WM_MOUSEWHEEL && w != WM_MOUSEHWHEEL) ++buttons;
    }
    return CallNextHookEx(nullptr, code, w, l);
  }
  static inline int injected = 0;
  static inline int buttons = 0;
  HHOOK hook_ = nullptr;
};

class LinkHover : public ::testing::Test {
 protected:
  void SetUp() override {
    orvane::win32::InstallPageWindowing();
    WNDCLASSW frame{};
    frame.lpfnWndProc = DefWindowProcW;
    frame.hInstance = GetModuleHandleW(nullptr);
    frame.lpszClassName = L"HoverTestFrame";
    RegisterClassW(&frame);
    top_ = CreateWindowExW(0, L"HoverTestFrame", L"hover", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 480, 420, nullptr,
                           nullptr, frame.hInstance, nullptr);
    ASSERT_NE(top_, nullptr);
    page_ = std::make_unique<orvane::ReminderSetting>();
    const RECT rect{0, 0, TwipsToPixels(orvane::kPageWidth), TwipsToPixels(orvane::kPageHeight, true)};
    view_ = std::make_unique<orvane::win32::PageView>(*page_, top_, rect);
    view_->Show(true);
    link_ = view_->Link();
    ASSERT_EQ(link_, GetDlgItem(view_->Window(), orvane::win32::kLblHyperlink));
  }
  void TearDown() override {
    view_.reset();
    page_.reset();
    if (top_) DestroyWindow(top_);
  }

  // A real mouse message to the link, at a point in its own twips.
  void Send(UINT message, int x, int y) {
    SendMessageW(link_, message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON,
                 MAKELPARAM(TwipsToPixels(x), TwipsToPixels(y, true)));
  }
  bool Underlined() {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(link_, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font.lfUnderline != 0;
  }
  static bool Cursor(const wchar_t* which) { return GetCursor() == LoadCursorW(nullptr, which); }
  static bool ButtonDown() { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }

  SettingsKeyGuard settings_;
  HWND top_ = nullptr;
  std::unique_ptr<orvane::ReminderSetting> page_;
  std::unique_ptr<orvane::win32::PageView> view_;
  HWND link_ = nullptr;
};

// The watch itself sees injected input: a move by nothing is enough and harms nobody.
TEST_F(LinkHover, WatchSeesInjectedInput) {
  InjectionWatch watch;
  ASSERT_TRUE(watch.Installed());
  mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
  EXPECT_GT(InjectionWatch::Injected(), 0);
}

TEST_F(LinkHover, EnterCapturesLeaveReleases) {
  InjectionWatch watch;
  ASSERT_TRUE(watch.Installed());

  Send(WM_MOUSEMOVE, 100, 100);  // enter
  EXPECT_TRUE(Underlined());
  EXPECT_TRUE(Cursor(IDC_HAND));
  EXPECT_EQ(GetCapture(), link_) << "the link holds the pointer while it is over it";
  EXPECT_TRUE(page_->PageState().HyperlinkHot);

  Send(WM_MOUSEMOVE, 200, 150);  // a move inside changes nothing but the cursor
  EXPECT_TRUE(Underlined());
  EXPECT_TRUE(Cursor(IDC_HAND));
  EXPECT_EQ(GetCapture(), link_);

  Send(WM_MOUSEMOVE, 100, 500);  // below the link: seen because the link holds the pointer
  EXPECT_FALSE(Underlined());
  EXPECT_TRUE(Cursor(IDC_ARROW));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(page_->PageState().HyperlinkHot);

  Send(WM_MOUSEMOVE, -15, 100);  // left of it: still outside, arrow again
  EXPECT_TRUE(Cursor(IDC_ARROW));
  EXPECT_EQ(GetCapture(), nullptr);

  EXPECT_FALSE(ButtonDown());
  EXPECT_EQ(InjectionWatch::InjectedButtons(), 0);
}

TEST_F(LinkHover, ReleaseOverTheLinkTakesTheUnderline) {
  InjectionWatch watch;
  ASSERT_TRUE(watch.Installed());
  Send(WM_MOUSEMOVE, 5, 5);
  ASSERT_TRUE(Underlined());
  Send(WM_LBUTTONUP, 5, 5);
  EXPECT_FALSE(Underlined());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(page_->PageState().HyperlinkHot);

  Send(WM_MOUSEMOVE, 5, 5);  // the move the system repeats where the pointer was let go
  EXPECT_FALSE(Underlined());
  EXPECT_EQ(GetCapture(), nullptr);

  Send(WM_MOUSEMOVE, 10, 5);  // the next real move over it underlines it again
  EXPECT_TRUE(Underlined());
  EXPECT_EQ(GetCapture(), link_);
  EXPECT_FALSE(ButtonDown());
  EXPECT_EQ(InjectionWatch::InjectedButtons(), 0);
}

// Another window taking the pointer (a menu, a drag) ends the hover as a leave does.
TEST_F(LinkHover, LosingTheCaptureIsALeave) {
  Send(WM_MOUSEMOVE, 100, 100);
  ASSERT_EQ(GetCapture(), link_);
  SetCapture(top_);
  EXPECT_FALSE(Underlined());
  EXPECT_TRUE(Cursor(IDC_ARROW));
  EXPECT_FALSE(page_->PageState().HyperlinkHot);
  ReleaseCapture();
}

}  // namespace
