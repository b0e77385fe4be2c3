#include "host/win32/options/OptionsDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "comsupport/ComPtr.h"
#include "host/win32/options/DialogTemplate.h"
#include "host/win32/options/HostedPage.h"
#include "host/win32/options/PageControls.h"
#include "host/win32/options/PropertyPages.h"
#include "host/win32/options/UrlFile.h"

namespace host::win32 {

namespace {

constexpr int kTabsId = 100;
constexpr int kApplyId = 0x3021;
// Pixels at 96 DPI; the dialog scales them to its screen's.
constexpr int kMargin = 7;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr SIZE kSmallestPage = {420, 366};

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

struct OptionsDialog::State {
  HWND owner = nullptr;
  comsupport::ComPtr<IDispatch> application;
  std::function<void(IDispatch*)> raisePagesAdd;
  HWND dialog = nullptr;
  std::vector<std::unique_ptr<HostedPage>> pages;
  std::vector<bool> dirty;  // as last read after OnStatusChange or Apply
  int current = 0;
  std::vector<std::string> log;
  UrlFile urls;
  POINT pointer = {};  // over the link, between page commands

  HWND Item(int id) const { return GetDlgItem(dialog, id); }
  void ReadDirty(size_t index) {
    if (index < pages.size()) dirty[index] = pages[index]->Dirty();
    EnableWindow(Item(kApplyId), AnyDirty());
  }
  bool AnyDirty() const {
    for (bool d : dirty) {
      if (d) return true;
    }
    return false;
  }
  void Show(int index) {
    current = index;
    for (size_t i = 0; i < pages.size(); ++i) ShowWindow(pages[i]->Window(), int(i) == index ? SW_SHOW : SW_HIDE);
    TabCtrl_SetCurSel(Item(kTabsId), index);
  }
  void ApplyDirty() {
    for (size_t i = 0; i < pages.size(); ++i) {
      if (!pages[i]->Dirty()) continue;
      pages[i]->Apply();
      dirty[i] = pages[i]->Dirty();
    }
    EnableWindow(Item(kApplyId), AnyDirty());
  }
  void Close() {
    if (!dialog) return;
    for (auto& page : pages) page->TearDown();
    pages.clear();
    dirty.clear();
    HWND window = std::exchange(dialog, nullptr);
    DestroyWindow(window);
    if (owner) SetActiveWindow(owner);
  }
  HRESULT Add(const VARIANT& progId, const std::wstring& title);
  void Layout();
  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

HRESULT OptionsDialog::State::Add(const VARIANT& page, const std::wstring& title) {
  if (!dialog) return E_UNEXPECTED;
  const size_t index = pages.size();
  PageHostContext context;
  context.dialog = dialog;
  context.application = application.get();
  context.log = [this](const std::string& call) { log.push_back(call); };
  context.statusChanged = [this, index] { ReadDirty(index); };
  auto hosted = std::make_unique<HostedPage>(std::move(context), title);
  // Above the tab control, so that the tab control does not paint over the page.
  SetWindowPos(hosted->Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  pages.push_back(std::move(hosted));
  dirty.push_back(false);
  const HRESULT hr = pages.back()->Host(page);
  if (FAILED(hr)) {
    pages.pop_back();
    dirty.pop_back();
    return hr;
  }
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(pages.back()->Title().c_str());
  TabCtrl_InsertItem(Item(kTabsId), int(index), &item);
  return S_OK;
}

// The tab control around the largest page, the buttons below it at the right.
void OptionsDialog::State::Layout() {
  const int dpi = ScreenDpi();
  const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
  const int margin = scaled(kMargin);
  const int buttonWidth = scaled(kButtonWidth);
  const int buttonHeight = scaled(kButtonHeight);
  SIZE page = {scaled(kSmallestPage.cx), scaled(kSmallestPage.cy)};
  for (const auto& hosted : pages) {
    page.cx = std::max(page.cx, hosted->Size().cx);
    page.cy = std::max(page.cy, hosted->Size().cy);
  }
  HWND tabs = Item(kTabsId);
  RECT display = {0, 0, page.cx, page.cy};
  TabCtrl_AdjustRect(tabs, TRUE, &display);
  const int tabWidth = display.right - display.left;
  const int tabHeight = display.bottom - display.top;
  MoveWindow(tabs, margin, margin, tabWidth, tabHeight, FALSE);
  RECT inside = {margin, margin, margin + tabWidth, margin + tabHeight};
  TabCtrl_AdjustRect(tabs, FALSE, &inside);
  for (const auto& hosted : pages) {
    SetWindowPos(hosted->Window(), nullptr, inside.left, inside.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const int buttonsTop = margin + tabHeight + margin;
  const int width = margin + tabWidth + margin;
  const int ids[] = {IDOK, IDCANCEL, kApplyId};
  for (int i = 0; i < 3; ++i) {
    const int left = width - margin - (3 - i) * buttonWidth - (2 - i) * scaled(kButtonGap);
    MoveWindow(Item(ids[i]), left, buttonsTop, buttonWidth, buttonHeight, FALSE);
  }
  RECT frame = {0, 0, width, buttonsTop + buttonHeight + margin};
  AdjustWindowRectEx(&frame, GetWindowLongW(dialog, GWL_STYLE), FALSE, GetWindowLongW(dialog, GWL_EXSTYLE));
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK OptionsDialog::State::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    return TRUE;
  }
  auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!state || state->dialog != window) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      if (LOWORD(wParam) == IDOK) {
        state->ApplyDirty();
        state->Close();
      } else if (LOWORD(wParam) == IDCANCEL) {
        state->Close();
      } else if (LOWORD(wParam) == kApplyId) {
        state->ApplyDirty();
      } else {
        return FALSE;
      }
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == kTabsId && header->code == TCN_SELCHANGE) {
        state->Show(TabCtrl_GetCurSel(header->hwndFrom));
        return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE:
      state->Close();
      return TRUE;
    default:
      return FALSE;
  }
}

OptionsDialog::OptionsDialog(HWND owner, IDispatch* application, std::function<void(IDispatch* pages)> raisePagesAdd)
    : state_(std::make_unique<State>()) {
  state_->owner = owner;
  state_->application = comsupport::ComPtr<IDispatch>::Share(application);
  state_->raisePagesAdd = std::move(raisePagesAdd);
}

OptionsDialog::~OptionsDialog() { Cancel(); }

void OptionsDialog::Open() {
  if (state_->dialog) return;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  state_->log.push_back("Open");
  const std::vector<WORD> dialogTemplate = OptionsTemplate(kTabsId, kApplyId);
  state_->dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                              reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                                              state_->owner, State::Proc, reinterpret_cast<LPARAM>(state_.get()));
  if (!state_->dialog) return;
  EnableWindow(state_->Item(kApplyId), FALSE);
  IDispatch* pages = CreatePropertyPages(
      [state = state_.get()](const VARIANT& page, const std::wstring& title) { return state->Add(page, title); });
  if (state_->raisePagesAdd) state_->raisePagesAdd(pages);
  DetachPropertyPages(pages);
  pages->Release();
  state_->Layout();
  state_->Show(0);
  ShowWindow(state_->dialog, SW_SHOW);
  UpdateWindow(state_->dialog);
}

bool OptionsDialog::IsOpen() const { return state_->dialog != nullptr; }

HWND OptionsDialog::Window() const { return state_->dialog; }

std::vector<std::wstring> OptionsDialog::TabTitles() const {
  std::vector<std::wstring> titles;
  for (const auto& page : state_->pages) titles.push_back(page->Title());
  return titles;
}

void OptionsDialog::SelectTab(int index) {
  if (index >= 1 && index <= int(state_->pages.size())) state_->Show(index - 1);
}

bool OptionsDialog::PageCommand(const std::vector<std::wstring>& words, std::wstring& error) {
  if (!state_->dialog || state_->pages.empty()) {
    error = L"no page is open";
    return false;
  }
  PageControls controls(state_->pages[state_->current]->Window(), state_->pointer);
  const bool done = controls.Command(words, error);
  if (done && !words.empty() && lstrcmpiW(words[0].c_str(), L"click") == 0) state_->urls.ExpectOne();
  return done;
}

bool OptionsDialog::ApplyEnabled() const {
  return state_->dialog && IsWindowEnabled(state_->Item(kApplyId)) && state_->AnyDirty();
}

void OptionsDialog::Ok() {
  if (!state_->dialog) return;
  SendMessageW(state_->dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(state_->Item(IDOK)));
}

void OptionsDialog::Apply() {
  if (!state_->dialog) return;
  SendMessageW(state_->dialog, WM_COMMAND, MAKEWPARAM(kApplyId, BN_CLICKED), LPARAM(state_->Item(kApplyId)));
}

void OptionsDialog::Cancel() {
  if (!state_->dialog) return;
  state_->Close();
}

std::wstring OptionsDialog::LastUrl() const { return state_->urls.Last(); }

std::vector<std::string> OptionsDialog::CallLog() const { return state_->log; }

void OptionsDialog::SetUrlFile(const std::wstring& path) { state_->urls.SetPath(path); }

bool OptionsDialog::PreTranslateMessage(MSG* msg) {
  if (!state_->dialog) return false;
  if (!state_->pages.empty() && state_->pages[state_->current]->TranslateKey(msg)) return true;
  return IsDialogMessageW(state_->dialog, msg) != FALSE;
}

bool OptionsDialog::UseUrlRecorder(const std::wstring& recorder) { return UrlFile::UseRecorder(recorder); }

}  // namespace host::win32
