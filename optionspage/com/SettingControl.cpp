#include "optionspage/com/SettingControl.h"

#include <algorithm>
#include <new>

#include "comsupport/Convert.h"
#include "comsupport/TypeLibrary.h"
#include "optionspage/page/PageLayout.h"
#include "optionspage/win32/PageWindowing.h"

namespace orvane::com {

namespace {

// recompose on resize, can't link inside, inside-out, activate when visible, set client site first
constexpr DWORD kMiscStatus = 0x20191;

LONG TwipsToHimetric(int twips) { return MulDiv(twips, 2540, 1440); }

}  // namespace

SettingControl::SettingControl() : events_(DIID___ReminderSetting, this) {
  win32::InstallPageWindowing();
  extent_ = {TwipsToHimetric(kPageWidth), TwipsToHimetric(kPageHeight)};
  // The control's start-up: the page reads the settings and asks the service for devices.
  page_ = std::make_unique<ReminderSetting>();
}

SettingControl::~SettingControl() {
  view_.reset();
  if (site_) site_->Drop();
}

HRESULT SettingControl::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID__ReminderSetting)) {
    *out = static_cast<_ReminderSetting*>(this);
  } else if (IsEqualIID(riid, IID_PropertyPage)) {
    *out = static_cast<PropertyPage*>(this);
  } else if (IsEqualIID(riid, IID_IOleObject)) {
    *out = static_cast<IOleObject*>(this);
  } else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceObject)) {
    *out = static_cast<IOleInPlaceObject*>(this);
  } else if (IsEqualIID(riid, IID_IOleInPlaceActiveObject)) {
    *out = static_cast<IOleInPlaceActiveObject*>(this);
  } else if (IsEqualIID(riid, IID_IOleControl)) {
    *out = static_cast<IOleControl*>(this);
  } else if (IsEqualIID(riid, IID_IPersist) || IsEqualIID(riid, IID_IPersistStreamInit)) {
    *out = static_cast<IPersistStreamInit*>(this);
  } else if (IsEqualIID(riid, IID_IPersistPropertyBag)) {
    *out = static_cast<IPersistPropertyBag*>(this);
  } else if (IsEqualIID(riid, IID_IViewObject) || IsEqualIID(riid, IID_IViewObject2)) {
    *out = static_cast<IViewObject2*>(this);
  } else if (IsEqualIID(riid, IID_IProvideClassInfo) || IsEqualIID(riid, IID_IProvideClassInfo2)) {
    *out = static_cast<IProvideClassInfo2*>(this);
  } else if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
    *out = static_cast<IConnectionPointContainer*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRefCore();
  return S_OK;
}

// --- IDispatch and PropertyPage -------------------------------------------------------------

HRESULT SettingControl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT SettingControl::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  comsupport::InterfaceInfo info;
  const HRESULT hr = comsupport::OwnInterfaceInfo(IID_PropertyPage, info);
  if (SUCCEEDED(hr)) *out = info.dispatch.Detach();
  return hr;
}

HRESULT SettingControl::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  comsupport::InterfaceInfo info;
  const HRESULT hr = comsupport::OwnInterfaceInfo(IID_PropertyPage, info);
  return FAILED(hr) ? hr : DispGetIDsOfNames(info.vtable.get(), names, count, ids);
}

HRESULT SettingControl::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* exception, UINT* argument_error) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  return comsupport::InvokeByTypeInfo(IID_PropertyPage, static_cast<PropertyPage*>(this), id, lcid, flags, params,
                                      result, exception, argument_error);
}

HRESULT SettingControl::GetPageInfo(BSTR*, LONG*) { return S_OK; }  // the page has no help

HRESULT SettingControl::get_Dirty(VARIANT_BOOL* dirty) {
  if (!dirty) return E_POINTER;
  *dirty = page_->Dirty() ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT SettingControl::Apply() {
  // The page shows its own errors; the dialog always sees a successful Apply.
  return comsupport::Guard(IID_PropertyPage, [this] {
    win32::LinkScope scope(view_ ? view_->Link() : nullptr);
    page_->Apply();
  });
}

// --- IOleObject ------------------------------------------------------------------------------

HRESULT SettingControl::SetClientSite(IOleClientSite* site) {
  clientSite_ = comsupport::ComPtr<IOleClientSite>::Share(site);
  if (!site && site_) site_->Drop();
  return S_OK;
}

HRESULT SettingControl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = comsupport::ComPtr<IOleClientSite>(clientSite_).Detach();
  return S_OK;
}

HRESULT SettingControl::Close(DWORD) {
  InPlaceDeactivate();
  if (adviseHolder_) adviseHolder_->SendOnClose();
  return S_OK;
}

HRESULT SettingControl::GetMoniker(DWORD, DWORD, IMoniker** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT SettingControl::GetClipboardData(DWORD, IDataObject** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT SettingControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
  if (site && !clientSite_) SetClientSite(site);
  switch (verb) {
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_SHOW:
      return ActivateInPlace(false);
    case OLEIVERB_PRIMARY:
    case OLEIVERB_UIACTIVATE:
      return ActivateInPlace(true);
    case OLEIVERB_HIDE:
      if (view_) view_->Show(false);
      return S_OK;
    default:
      return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
  }
}

HRESULT SettingControl::EnumVerbs(IEnumOLEVERB** out) { return OleRegEnumVerbs(CLSID_ReminderSetting, out); }

HRESULT SettingControl::GetUserClassID(CLSID* out) { return GetClassID(out); }

HRESULT SettingControl::GetUserType(DWORD form, LPOLESTR* out) {
  return OleRegGetUserType(CLSID_ReminderSetting, form, out);
}

HRESULT SettingControl::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

HRESULT SettingControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = extent_;
  // Captions that take more room at the screen's scale than designed widen the page.
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  const SIZE natural = win32::PageView::NaturalSize(*page_, dpi);
  size->cx = std::max<LONG>(size->cx, MulDiv(natural.cx, 2540, dpi));
  size->cy = std::max<LONG>(size->cy, MulDiv(natural.cy, 2540, dpi));
  return S_OK;
}

HRESULT SettingControl::Advise(IAdviseSink* sink, DWORD* cookie) {
  if (!adviseHolder_) {
    const HRESULT hr = CreateOleAdviseHolder(adviseHolder_.put());
    if (FAILED(hr)) return hr;
  }
  return adviseHolder_->Advise(sink, cookie);
}

HRESULT SettingControl::Unadvise(DWORD cookie) {
  return adviseHolder_ ? adviseHolder_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

HRESULT SettingControl::EnumAdvise(IEnumSTATDATA** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return adviseHolder_ ? adviseHolder_->EnumAdvise(out) : S_OK;
}

HRESULT SettingControl::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}

// --- In place ----------------------------------------------------------------------------------

HRESULT SettingControl::ActivateInPlace(bool uiActivate) {
  if (!clientSite_) return E_UNEXPECTED;
  if (!view_) {
    comsupport::ComPtr<IOleInPlaceSite> site = clientSite_.As<IOleInPlaceSite>(IID_IOleInPlaceSite);
    if (!site) return E_NOINTERFACE;
    if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
    HRESULT hr = site->OnInPlaceActivate();
    if (FAILED(hr)) return hr;
    inPlaceSite_ = site;
    HWND parent = nullptr;
    RECT position{};
    RECT clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof(frameInfo);
    if (FAILED(site->GetWindow(&parent)) ||
        FAILED(site->GetWindowContext(frame_.put(), uiWindow_.put(), &position, &clip, &frameInfo))) {
      site->OnInPlaceDeactivate();
      inPlaceSite_ = nullptr;
      return E_FAIL;
    }
    try {
      view_ = std::make_unique<win32::PageView>(*page_, parent, position);
    } catch (...) {
      site->OnInPlaceDeactivate();
      inPlaceSite_ = nullptr;
      return E_OUTOFMEMORY;
    }
    view_->OnFocus([this] { ActivateUi(); });
  }
  view_->Show(true);
  return uiActivate ? ActivateUi() : S_OK;
}

HRESULT SettingControl::ActivateUi() {
  if (!inPlaceSite_ || uiActive_) return S_OK;
  uiActive_ = true;
  inPlaceSite_->OnUIActivate();
  if (frame_) frame_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"ReminderSetting");
  if (uiWindow_) uiWindow_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"ReminderSetting");
  if (clientSite_) {
    comsupport::ComPtr<IOleControlSite> control = clientSite_.As<IOleControlSite>(IID_IOleControlSite);
    if (control) control->OnFocus(TRUE);
  }
  // Focus stays where the user put it; a verb that activates gives it to the first box.
  if (view_ && !IsChild(view_->Window(), GetFocus())) SetFocus(GetNextDlgTabItem(view_->Window(), nullptr, FALSE));
  return S_OK;
}

HRESULT SettingControl::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = view_ ? view_->Window() : nullptr;
  return view_ ? S_OK : E_FAIL;
}

HRESULT SettingControl::InPlaceDeactivate() {
  if (!inPlaceSite_) return S_OK;
  UIDeactivate();
  view_.reset();
  comsupport::ComPtr<IOleInPlaceSite> site = inPlaceSite_;
  inPlaceSite_ = nullptr;
  frame_ = nullptr;
  uiWindow_ = nullptr;
  site->OnInPlaceDeactivate();
  return S_OK;
}

HRESULT SettingControl::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (uiWindow_) uiWindow_->SetActiveObject(nullptr, nullptr);
  if (frame_) frame_->SetActiveObject(nullptr, nullptr);
  if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  return S_OK;
}

HRESULT SettingControl::SetObjectRects(LPCRECT position, LPCRECT) {
  if (!position) return E_POINTER;
  if (view_) view_->Move(*position);
  return S_OK;
}

HRESULT SettingControl::TranslateAccelerator(LPMSG message) {
  if (!message || !view_) return S_FALSE;
  // Tab belongs to the container's dialog, which walks into the page and out of it again.
  const bool key = message->message == WM_KEYDOWN || message->message == WM_KEYUP || message->message == WM_CHAR;
  if (key && message->wParam == VK_TAB) return S_FALSE;
  if (!IsChild(view_->Window(), message->hwnd)) return S_FALSE;
  return IsDialogMessageW(view_->Window(), message) ? S_OK : S_FALSE;
}

// --- IOleControl, persistence, view, class information, events -----------------------------

HRESULT SettingControl::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

HRESULT SettingControl::GetClassID(CLSID* out) {
  if (!out) return E_POINTER;
  *out = CLSID_ReminderSetting;
  return S_OK;
}

HRESULT SettingControl::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = 0;
  return S_OK;
}

HRESULT SettingControl::InitNew() {
  if (initialised_) return CO_E_ALREADYINITIALIZED;
  initialised_ = true;
  // The page takes its container as its PropertyPageSite; without one, edits still count.
  comsupport::ComPtr<IDispatch> site = FindPageSite();
  if (site) site_ = std::make_shared<PageSite>(site);
  page_->InitProperties(site_);
  return S_OK;
}

comsupport::ComPtr<IDispatch> SettingControl::FindPageSite() const {
  if (!clientSite_) return nullptr;
  comsupport::ComPtr<IOleContainer> container;
  if (FAILED(clientSite_->GetContainer(container.put())) || !container) return nullptr;
  return container.As<IDispatch>(IID_PropertyPageSite);
}

HRESULT SettingControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** out) {
  if (out) *out = nullptr;
  return S_FALSE;  // no particular colours
}

HRESULT SettingControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  viewAspects_ = aspects;
  viewFlags_ = flags;
  viewSink_ = comsupport::ComPtr<IAdviseSink>::Share(sink);
  return S_OK;
}

HRESULT SettingControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = viewAspects_;
  if (flags) *flags = viewFlags_;
  if (sink) *sink = comsupport::ComPtr<IAdviseSink>(viewSink_).Detach();
  return S_OK;
}

HRESULT SettingControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

HRESULT SettingControl::GetClassInfo(ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  comsupport::ComPtr<ITypeLib> library;
  const HRESULT hr = comsupport::OwnTypeLibrary(library);
  return FAILED(hr) ? hr : library->GetTypeInfoOfGuid(CLSID_ReminderSetting, out);
}

HRESULT SettingControl::GetGUID(DWORD kind, GUID* out) {
  if (!out) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
    *out = GUID_NULL;
    return E_INVALIDARG;
  }
  *out = DIID___ReminderSetting;
  return S_OK;
}

HRESULT SettingControl::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) PointEnumerator(&events_, 0);
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT SettingControl::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, events_.Iid())) return CONNECT_E_NOCONNECTION;
  events_.AddRef();
  *out = &events_;
  return S_OK;
}

HRESULT CreateSettingControl(REFIID iid, void** out) {
  SettingControl* control = nullptr;
  try {
    control = new SettingControl();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  const HRESULT hr = control->QueryInterface(iid, out);
  control->Release();
  return hr;
}

}  // namespace orvane::com
