#pragma once
// One page on a tab of the Options dialog: the control created by ProgID, hosted in place in
// its own child window of the dialog, and talked to through the client's PropertyPage.
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>

#include "comsupport/ComPtr.h"
#include "host/win32/options/PageSite.h"

namespace host::win32 {

struct PageHostContext {
  HWND dialog = nullptr;
  IDispatch* application = nullptr;
  std::function<void(const std::string&)> log;
  std::function<void()> statusChanged;
};

class HostedPage final : public PageSink {
 public:
  HostedPage(PageHostContext context, std::wstring title);
  ~HostedPage();
  HostedPage(const HostedPage&) = delete;
  HostedPage& operator=(const HostedPage&) = delete;

  // Creates the control of the ProgID (or takes the object given) and activates it in place.
  HRESULT Host(const VARIANT& page);
  // Unadvise, InPlaceDeactivate, Close, SetClientSite(NULL); the last Release frees it.
  void TearDown();

  const std::wstring& Title() const { return title_; }
  HWND Window() const { return window_; }
  SIZE Size() const { return size_; }
  bool Dirty();   // asks the page
  void Apply();   // calls the page's Apply
  bool TranslateKey(MSG* msg);

  // PageSink
  void Log(const std::string& call) override;
  void StatusChanged() override;
  HWND PageWindow() override { return window_; }
  HWND FrameWindow() override { return context_.dialog; }
  IDispatch* Application() override { return context_.application; }
  void ActiveObject(IOleInPlaceActiveObject* object) override;

 private:
  HRESULT Activate();
  void AdviseEvents();
  HRESULT CallPage(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result);

  PageHostContext context_;
  std::wstring title_;
  HWND window_ = nullptr;
  SIZE size_ = {420, 366};
  comsupport::ComPtr<IOleObject> object_;
  comsupport::ComPtr<IDispatch> page_;  // PropertyPage
  IOleClientSite* site_ = nullptr;
  comsupport::ComPtr<IConnectionPoint> events_;
  DWORD cookie_ = 0;
  comsupport::ComPtr<IOleInPlaceActiveObject> active_;
};

}  // namespace host::win32
