#include "host/win32/WinClient.h"

namespace host::win32 {

HWND MainWindow() {
  static HWND window = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = L"ReminderHostMain";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, wc.lpszClassName, L"reminder-host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                             nullptr, wc.hInstance, nullptr);
    ShowWindow(w, SW_SHOWNORMAL);
    SetForegroundWindow(w);
    return w;
  }();
  return window;
}

WinClient::WinClient() : ClientItems(std::make_shared<host::Application>()) { model_ = std::make_unique<ComModel>(app_); }

WinClient::~WinClient() { Stop(); }

void WinClient::Start(std::ostream& warnings) {
  addins_ = std::make_unique<AddinHost>();
  addins_->Connect(model_->Application(), warnings);
}

void WinClient::Stop() {
  addins_.reset();  // OnBeginShutdown, OnDisconnection, release
  model_.reset();
}

void WinClient::Restart(std::ostream& warnings) {
  Stop();
  model_ = std::make_unique<ComModel>(app_);
  Start(warnings);
}

}  // namespace host::win32
