#include "host/win32/options/PageSite.h"

#include <atomic>

namespace host::win32 {

const IID kIidPropertyPageSite = {0x0006307F, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidPropertyPage = {0x0006307E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace {

constexpr DISPID kDispApplication = 0xF000;
constexpr DISPID kDispParent = 0xF001;
constexpr DISPID kDispClass = 0xF00A;
constexpr DISPID kDispSession = 0xF00B;
constexpr long kClassPropertyPageSite = 70;

// The client's PropertyPageSite as a dual interface: IDispatch, then its members in the
// order of the client's type library.
struct PropertyPageSiteVtbl : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Application(IDispatch** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Class(long* out) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Session(IDispatch** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Parent(IDispatch** out) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnStatusChange() = 0;
};

HRESULT NotFound(void** out) {
  *out = nullptr;
  return E_NOINTERFACE;
}

// The session of the application, read by name; null when it has none.
IDispatch* SessionOf(IDispatch* app) {
  if (!app) return nullptr;
  LPOLESTR name = const_cast<LPOLESTR>(L"Session");
  DISPID id = 0;
  if (FAILED(app->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return nullptr;
  DISPPARAMS none = {};
  VARIANT result;
  VariantInit(&result);
  if (FAILED(app->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                         nullptr)) ||
      result.vt != VT_DISPATCH) {
    VariantClear(&result);
    return nullptr;
  }
  return result.pdispVal;  // the reference moves to the caller
}

// The container: IOleContainer for GetContainer, the in-place frame, and PropertyPageSite.
class Container final : public IOleContainer, public IOleInPlaceFrame, public PropertyPageSiteVtbl {
 public:
  explicit Container(PageSink* sink) : sink_(sink) {}
  void Detach() { sink_ = nullptr; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleContainer || iid == IID_IParseDisplayName) {
      *out = static_cast<IOleContainer*>(this);
    } else if (iid == IID_IOleInPlaceFrame || iid == IID_IOleInPlaceUIWindow || iid == IID_IOleWindow) {
      *out = static_cast<IOleInPlaceFrame*>(this);
    } else if (iid == kIidPropertyPageSite || iid == IID_IDispatch) {
      if (sink_ && iid == kIidPropertyPageSite) sink_->Log("QueryInterface(PropertyPageSite)");
      *out = static_cast<PropertyPageSiteVtbl*>(this);
    } else {
      return NotFound(out);
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IOleContainer
  STDMETHODIMP ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP EnumObjects(DWORD, IEnumUnknown**) override { return E_NOTIMPL; }
  STDMETHODIMP LockContainer(BOOL) override { return S_OK; }

  // IOleInPlaceFrame
  STDMETHODIMP GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = sink_ ? sink_->FrameWindow() : nullptr;
    return *out ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override {
    if (sink_) sink_->ActiveObject(object);
    return S_OK;
  }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IDispatch of PropertyPageSite: members by name, then by DISPID.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    static const struct {
      const wchar_t* name;
      DISPID id;
    } kMembers[] = {{L"Application", kDispApplication}, {L"Parent", kDispParent},
                    {L"Class", kDispClass},             {L"Session", kDispSession},
                    {L"OnStatusChange", kDispOnStatusChange}};
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      if (i > 0) {
        hr = DISP_E_UNKNOWNNAME;  // no named arguments
        continue;
      }
      for (const auto& member : kMembers) {
        if (lstrcmpiW(names[i], member.name) == 0) ids[i] = member.id;
      }
      if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    VARIANT ignored;
    VariantInit(&ignored);
    VARIANT* out = result ? result : &ignored;
    VariantInit(out);
    HRESULT hr = S_OK;
    switch (id) {
      case kDispApplication:
      case kDispParent:
        out->vt = VT_DISPATCH;
        hr = get_Application(&out->pdispVal);
        break;
      case kDispSession:
        out->vt = VT_DISPATCH;
        hr = get_Session(&out->pdispVal);
        break;
      case kDispClass:
        out->vt = VT_I4;
        hr = get_Class(&out->lVal);
        break;
      case kDispOnStatusChange:
        hr = OnStatusChange();
        break;
      default:
        hr = DISP_E_MEMBERNOTFOUND;
    }
    VariantClear(&ignored);
    return hr;
  }

  // PropertyPageSite
  STDMETHODIMP get_Application(IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = sink_ ? sink_->Application() : nullptr;
    if (*out) (*out)->AddRef();
    return S_OK;
  }
  STDMETHODIMP get_Class(long* out) override {
    if (!out) return E_POINTER;
    *out = kClassPropertyPageSite;
    return S_OK;
  }
  STDMETHODIMP get_Session(IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = SessionOf(sink_ ? sink_->Application() : nullptr);
    return S_OK;
  }
  STDMETHODIMP get_Parent(IDispatch** out) override { return get_Application(out); }
  STDMETHODIMP OnStatusChange() override {
    if (sink_) {
      sink_->Log("OnStatusChange");
      sink_->StatusChanged();
    }
    return S_OK;
  }

 private:
  PageSink* sink_;
  std::atomic<ULONG> refs_{1};
};

// The client site with the in-place site, the control site and the ambient properties.
class Site final : public IOleClientSite, public IOleInPlaceSite, public IOleControlSite, public IDispatch {
 public:
  explicit Site(PageSink* sink) : sink_(sink), container_(new Container(sink)) {}
  void Detach() {
    sink_ = nullptr;
    container_->Detach();
  }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
      *out = static_cast<IOleClientSite*>(this);
    } else if (iid == IID_IOleInPlaceSite || iid == IID_IOleWindow) {
      *out = static_cast<IOleInPlaceSite*>(this);
    } else if (iid == IID_IOleControlSite) {
      *out = static_cast<IOleControlSite*>(this);
    } else if (iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
    } else {
      return NotFound(out);
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0) {
      container_->Release();
      delete this;
    }
    return left;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** out) override {
    if (!out) return E_POINTER;
    Log("GetContainer");
    *out = container_;
    container_->AddRef();
    return S_OK;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = sink_ ? sink_->PageWindow() : nullptr;
    return *out ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override {
    Log("CanInPlaceActivate");
    return sink_ ? S_OK : S_FALSE;
  }
  STDMETHODIMP OnInPlaceActivate() override {
    Log("OnInPlaceActivate");
    return S_OK;
  }
  STDMETHODIMP OnUIActivate() override {
    Log("OnUIActivate");
    return S_OK;
  }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO info) override {
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    Log("GetWindowContext");
    *frame = static_cast<IOleInPlaceFrame*>(container_);
    container_->AddRef();
    *doc = nullptr;  // no document window: the frame is the dialog
    RECT area = {};
    if (sink_) GetClientRect(sink_->PageWindow(), &area);
    *pos = area;
    *clip = area;
    info->fMDIApp = FALSE;
    info->hwndFrame = sink_ ? sink_->FrameWindow() : nullptr;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override {
    Log("OnInPlaceDeactivate");
    return S_OK;
  }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleControlSite
  STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
  STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
  STDMETHODIMP GetExtendedControl(IDispatch** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override {
    if (!himetric || !container) return E_POINTER;
    // The container's units are pixels of the screen.
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
      container->x = static_cast<float>(himetric->x) * dpiX / 2540.0f;
      container->y = static_cast<float>(himetric->y) * dpiY / 2540.0f;
    } else {
      himetric->x = static_cast<LONG>(container->x * 2540.0f / dpiX + 0.5f);
      himetric->y = static_cast<LONG>(container->y * 2540.0f / dpiY + 0.5f);
    }
    return S_OK;
  }
  STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
  STDMETHODIMP OnFocus(BOOL) override { return S_OK; }
  STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }

  // IDispatch: the ambient properties.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override {
    if (!result) return E_POINTER;
    VariantInit(result);
    switch (id) {
      case DISPID_AMBIENT_USERMODE:
        Log("Ambient(UserMode)");
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_TRUE;
        return S_OK;
      case DISPID_AMBIENT_UIDEAD:
      case DISPID_AMBIENT_SHOWGRABHANDLES:
      case DISPID_AMBIENT_SHOWHATCHING:
      case DISPID_AMBIENT_MESSAGEREFLECT:
      case DISPID_AMBIENT_DISPLAYASDEFAULT:
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_FALSE;
        return S_OK;
      case DISPID_AMBIENT_BACKCOLOR:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(0x80000000 | COLOR_BTNFACE);
        return S_OK;
      case DISPID_AMBIENT_FORECOLOR:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(0x80000000 | COLOR_BTNTEXT);
        return S_OK;
      case DISPID_AMBIENT_LOCALEID:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(GetUserDefaultLCID());
        return S_OK;
      case DISPID_AMBIENT_DISPLAYNAME:
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(L"Options");
        return S_OK;
      case DISPID_AMBIENT_FONT: {
        Log("Ambient(Font)");
        FONTDESC font = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Tahoma"), {{82500, 0}}, FW_NORMAL,
                         ANSI_CHARSET, FALSE, FALSE, FALSE};
        IFontDisp* disp = nullptr;
        if (FAILED(OleCreateFontIndirect(&font, IID_IFontDisp, reinterpret_cast<void**>(&disp)))) {
          return DISP_E_MEMBERNOTFOUND;
        }
        result->vt = VT_DISPATCH;
        result->pdispVal = disp;
        return S_OK;
      }
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  void Log(const std::string& call) {
    if (sink_) sink_->Log(call);
  }

  PageSink* sink_;
  Container* container_;
  std::atomic<ULONG> refs_{1};
};

}  // namespace

IOleClientSite* CreatePageSite(PageSink* sink) { return new Site(sink); }

void DetachPageSite(IOleClientSite* site) {
  if (site) static_cast<Site*>(site)->Detach();
}

}  // namespace host::win32
