#include "host/win32/options/HostedPage.h"

#include <ocidl.h>
#include <olectl.h>

#include <atomic>
#include <utility>

namespace host::win32 {

namespace {

const wchar_t kPageClass[] = L"ReminderHostOptionsPage";

void RegisterPageClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kPageClass;
  registered = RegisterClassW(&wc) != 0;
}

// The control's events: none is handled, but the connection is made as the client does.
class EventSink final : public IDispatch {
 public:
  explicit EventSink(const IID& source) : source_(source) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != source_) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return S_OK;
  }

 private:
  IID source_;
  std::atomic<ULONG> refs_{1};
};

int ScreenDpi(int axis) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, axis);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

HostedPage::HostedPage(PageHostContext context, std::wstring title)
    : context_(std::move(context)), title_(std::move(title)) {
  RegisterPageClass();
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                            0, 0, size_.cx, size_.cy, context_.dialog, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
}

HostedPage::~HostedPage() {
  TearDown();
  if (window_) DestroyWindow(window_);
}

void HostedPage::Log(const std::string& call) {
  if (context_.log) context_.log(call);
}

void HostedPage::StatusChanged() {
  if (context_.statusChanged) context_.statusChanged();
}

void HostedPage::ActiveObject(IOleInPlaceActiveObject* object) {
  active_ = comsupport::ComPtr<IOleInPlaceActiveObject>::Share(object);
}

HRESULT HostedPage::Host(const VARIANT& page) {
  if (!window_) return E_FAIL;
  HRESULT hr = S_OK;
  if (page.vt == VT_BSTR) {
    CLSID clsid;
    hr = CLSIDFromProgID(page.bstrVal, &clsid);
    if (FAILED(hr)) return hr;
    Log("CoCreateInstance");
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                          reinterpret_cast<void**>(object_.put()));
  } else if ((page.vt == VT_DISPATCH || page.vt == VT_UNKNOWN) && page.punkVal) {
    hr = page.punkVal->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(object_.put()));
  } else {
    hr = DISP_E_TYPEMISMATCH;
  }
  if (FAILED(hr)) return hr;
  page_ = object_.As<IDispatch>(kIidPropertyPage);
  if (!page_) return E_NOINTERFACE;  // not a page of the Options dialog
  return Activate();
}

HRESULT HostedPage::Activate() {
  site_ = CreatePageSite(this);
  DWORD misc = 0;
  Log("GetMiscStatus");
  object_->GetMiscStatus(DVASPECT_CONTENT, &misc);
  const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
  if (siteFirst) {
    Log("SetClientSite");
    object_->SetClientSite(site_);
  }
  // A new control starts from its defaults: InitNew is its InitProperties.
  if (auto stream = object_.As<IPersistStreamInit>(IID_IPersistStreamInit)) {
    Log("InitNew");
    stream->InitNew();
  } else if (auto bag = object_.As<IPersistPropertyBag>(IID_IPersistPropertyBag)) {
    Log("InitNew(PropertyBag)");
    bag->InitNew();
  }
  if (!siteFirst) {
    Log("SetClientSite");
    object_->SetClientSite(site_);
  }
  Log("SetHostNames");
  object_->SetHostNames(L"reminder-host", L"Options");
  SIZEL extent = {};
  if (SUCCEEDED(object_->GetExtent(DVASPECT_CONTENT, &extent)) && extent.cx > 0 && extent.cy > 0) {
    size_.cx = MulDiv(extent.cx, ScreenDpi(LOGPIXELSX), 2540);
    size_.cy = MulDiv(extent.cy, ScreenDpi(LOGPIXELSY), 2540);
  } else {
    extent.cx = MulDiv(size_.cx, 2540, ScreenDpi(LOGPIXELSX));
    extent.cy = MulDiv(size_.cy, 2540, ScreenDpi(LOGPIXELSY));
  }
  SetWindowPos(window_, nullptr, 0, 0, size_.cx, size_.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Log("SetExtent");
  object_->SetExtent(DVASPECT_CONTENT, &extent);
  RECT area = {0, 0, size_.cx, size_.cy};
  Log("DoVerb(InPlaceActivate)");
  const HRESULT hr = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_, 0, window_, &area);
  if (FAILED(hr)) return hr;
  AdviseEvents();
  // What the client asks a page once it is shown: its help.
  BSTR helpFile = SysAllocString(L"");
  long helpContext = 0;
  VARIANT args[2];
  VariantInit(&args[0]);
  VariantInit(&args[1]);
  args[1].vt = VT_BSTR | VT_BYREF;
  args[1].pbstrVal = &helpFile;
  args[0].vt = VT_I4 | VT_BYREF;
  args[0].plVal = &helpContext;
  DISPPARAMS params = {args, nullptr, 2, 0};
  Log("GetPageInfo");
  CallPage(kDispGetPageInfo, DISPATCH_METHOD, &params, nullptr);
  SysFreeString(helpFile);
  return S_OK;
}

void HostedPage::AdviseEvents() {
  auto info = object_.As<IProvideClassInfo2>(IID_IProvideClassInfo2);
  auto points = object_.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
  GUID source = {};
  if (!info || !points || FAILED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source))) return;
  if (FAILED(points->FindConnectionPoint(source, events_.put()))) return;
  auto* sink = new EventSink(source);
  Log("Advise");
  if (FAILED(events_->Advise(sink, &cookie_))) {
    events_ = nullptr;
    cookie_ = 0;
  }
  sink->Release();
}

void HostedPage::TearDown() {
  if (!object_) return;
  active_ = nullptr;
  if (events_ && cookie_) {
    Log("Unadvise");
    events_->Unadvise(cookie_);
  }
  events_ = nullptr;
  if (auto inPlace = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject)) {
    Log("InPlaceDeactivate");
    inPlace->InPlaceDeactivate();
  }
  Log("Close");
  object_->Close(OLECLOSE_NOSAVE);
  Log("SetClientSite(NULL)");
  object_->SetClientSite(nullptr);
  DetachPageSite(site_);
  site_->Release();
  site_ = nullptr;
  page_ = nullptr;
  object_ = nullptr;
}

HRESULT HostedPage::CallPage(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) {
  if (!page_) return E_UNEXPECTED;
  DISPPARAMS none = {};
  return page_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params ? params : &none, result, nullptr,
                       nullptr);
}

bool HostedPage::Dirty() {
  VARIANT result;
  VariantInit(&result);
  const bool dirty = SUCCEEDED(CallPage(kDispDirty, DISPATCH_PROPERTYGET, nullptr, &result)) &&
                     SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BOOL)) && result.boolVal != VARIANT_FALSE;
  VariantClear(&result);
  Log(dirty ? "Dirty -> true" : "Dirty -> false");
  return dirty;
}

void HostedPage::Apply() {
  VARIANT result;
  VariantInit(&result);
  Log("Apply");
  CallPage(kDispApply, DISPATCH_METHOD, nullptr, &result);
  VariantClear(&result);
}

bool HostedPage::TranslateKey(MSG* msg) {
  if (!active_ || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  if (!IsChild(window_, msg->hwnd)) return false;
  return active_->TranslateAccelerator(msg) == S_OK;
}

}  // namespace host::win32
