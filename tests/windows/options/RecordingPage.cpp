#include "RecordingPage.h"

#include <ocidl.h>
#include <olectl.h>
#include <shellapi.h>

#include <atomic>

#include "comsupport/ComPtr.h"
#include "optionspage/win32/ControlIds.h"

namespace options_test {

namespace {

const CLSID kClsid = {0x6d1b2f3a, 0x41c7, 0x4e0e, {0x9a, 0x51, 0x2b, 0x7c, 0x11, 0x0e, 0x5f, 0x90}};
const IID kIidPropertyPage = {0x0006307E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidPropertyPageSite = {0x0006307F, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const char* const kTypes[] = {"HomeEmail", "WorkEmail", "HomePhone", "WorkPhone", "CellPhone",
                              "SMS",       "AIM",       "MSN",       "YAHOO",     "Fax"};
// The real page's control IDs, which the dialog drives.
constexpr int kUserId = orvane::win32::kTxtUserId;
constexpr int kPassword = orvane::win32::kTxtPassword;
constexpr int kLink = orvane::win32::kLblHyperlink;
int RowOf(int id) {
  for (int row = 0; row < 10; ++row) {
    if (orvane::win32::kDeviceCheckBoxIds[row] == id) return row;
  }
  return -1;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

struct PageVtbl : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE GetPageInfo(BSTR* helpFile, long* helpContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Dirty(VARIANT_BOOL* dirty) = 0;
  virtual HRESULT STDMETHODCALLTYPE Apply() = 0;
};

LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      PageLog().push_back("MouseMove(" + std::to_string(short(LOWORD(lParam))) + "," +
                          std::to_string(short(HIWORD(lParam))) + ")");
      return 0;
    case WM_LBUTTONDOWN:
      PageLog().push_back("LButtonDown");
      SetPropW(window, L"pressed", HANDLE(1));
      return 0;
    case WM_LBUTTONUP:
      // A click is a press and a release on the link; a release alone opens nothing.
      PageLog().push_back("LButtonUp");
      if (RemovePropW(window, L"pressed")) {
        SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(kLink, STN_CLICKED), LPARAM(window));
      }
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

class Page final : public IOleObject, public IOleInPlaceObject, public IPersistStreamInit, public PageVtbl {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IOleObject) {
      *out = static_cast<IOleObject*>(this);
    } else if (iid == IID_IOleInPlaceObject || iid == IID_IOleWindow) {
      *out = static_cast<IOleInPlaceObject*>(this);
    } else if (iid == IID_IPersistStreamInit || iid == IID_IPersist) {
      *out = static_cast<IPersistStreamInit*>(this);
    } else if (iid == kIidPropertyPage || iid == IID_IDispatch) {
      *out = static_cast<PageVtbl*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0) {
      PageLog().push_back("Released");
      delete this;
    }
    return left;
  }

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override {
    PageLog().push_back(site ? "SetClientSite" : "SetClientSite(NULL)");
    site_ = comsupport::ComPtr<IOleClientSite>::Share(site);
    if (!site) return S_OK;
    // The container's ambient UserMode, as a control reads it once sited.
    if (auto ambient = site_.As<IDispatch>(IID_IDispatch)) {
      VARIANT mode;
      VariantInit(&mode);
      DISPPARAMS none = {};
      ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &mode, nullptr, nullptr);
      PageLog().push_back(mode.vt == VT_BOOL && mode.boolVal ? "UserMode" : "not UserMode");
    }
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** out) override {
    *out = comsupport::ComPtr<IOleClientSite>(site_).Detach();
    return S_OK;
  }
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override {
    PageLog().push_back("Close");
    return S_OK;
  }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT area) override {
    if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW) return OLEOBJ_S_INVALIDVERB;
    auto inPlace = comsupport::ComPtr<IOleClientSite>::Share(site).As<IOleInPlaceSite>(IID_IOleInPlaceSite);
    if (!inPlace || inPlace->CanInPlaceActivate() != S_OK) return E_FAIL;
    inPlace->OnInPlaceActivate();
    inPlaceSite_ = inPlace;
    HWND host = nullptr;
    inPlace->GetWindow(&host);
    comsupport::ComPtr<IOleInPlaceFrame> frame;
    comsupport::ComPtr<IOleInPlaceUIWindow> document;
    RECT position = {};
    RECT clip = {};
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof(info);
    inPlace->GetWindowContext(frame.put(), document.put(), &position, &clip, &info);
    PageLog().push_back(host == parent && EqualRect(&position, area) ? "in place" : "in place elsewhere");
    CreateControls(host, position);
    return S_OK;
  }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* id) override {
    *id = kClsid;
    return S_OK;
  }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
  STDMETHODIMP GetExtent(DWORD, SIZEL* size) override {
    size->cx = 11113;  // 6300 x 5490 twips in HIMETRIC
    size->cy = 9684;
    return S_OK;
  }
  STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
    *status = 131473;
    return S_OK;
  }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleInPlaceObject
  STDMETHODIMP GetWindow(HWND* out) override {
    *out = window_;
    return window_ ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override {
    PageLog().push_back("InPlaceDeactivate");
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    if (inPlaceSite_) inPlaceSite_->OnInPlaceDeactivate();
    inPlaceSite_ = nullptr;
    return S_OK;
  }
  STDMETHODIMP UIDeactivate() override { return S_OK; }
  STDMETHODIMP SetObjectRects(LPCRECT, LPCRECT) override { return S_OK; }
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

  // IPersistStreamInit
  STDMETHODIMP GetClassID(CLSID* id) override {
    *id = kClsid;
    return S_OK;
  }
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(LPSTREAM) override { return E_NOTIMPL; }
  STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
  // The page's InitProperties: its PropertyPageSite is the client site's container.
  STDMETHODIMP InitNew() override {
    PageLog().push_back("InitNew");
    comsupport::ComPtr<IOleContainer> container;
    if (site_ && SUCCEEDED(site_->GetContainer(container.put()))) {
      pageSite_ = container.As<IDispatch>(kIidPropertyPageSite);
    }
    if (pageSite_) PageLog().push_back("site found");
    return S_OK;
  }

  // IDispatch of PropertyPage
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override {
    if (result) VariantInit(result);
    switch (id) {
      case 0x2100:
        PageLog().push_back("GetPageInfo");
        return S_OK;
      case 0x2101:
        if (!result) return E_POINTER;
        result->vt = VT_BOOL;
        return get_Dirty(&result->boolVal);
      case 0x2102:
        return Apply();
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }
  STDMETHODIMP GetPageInfo(BSTR*, long*) override { return S_OK; }
  STDMETHODIMP get_Dirty(VARIANT_BOOL* dirty) override {
    PageLog().push_back("Dirty");
    *dirty = dirty_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  STDMETHODIMP Apply() override {
    PageLog().push_back("Apply");
    dirty_ = false;
    return S_OK;
  }

 private:
  void CreateControls(HWND host, const RECT& area) {
    static bool registered = false;
    HINSTANCE module = GetModuleHandleW(nullptr);
    if (!registered) {
      WNDCLASSW page = {};
      page.lpfnWndProc = PageProc;
      page.hInstance = module;
      page.lpszClassName = L"RecordingPageWindow";
      page.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
      RegisterClassW(&page);
      WNDCLASSW link = {};
      link.lpfnWndProc = LinkProc;
      link.hInstance = module;
      link.lpszClassName = L"RecordingPageLink";
      RegisterClassW(&link);
      registered = true;
    }
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, L"RecordingPageWindow", L"", WS_CHILD | WS_VISIBLE, area.left,
                              area.top, area.right - area.left, area.bottom - area.top, host, nullptr, module, this);
    SetWindowLongPtrW(window_, GWLP_USERDATA, LONG_PTR(this));
    auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id, int y) {
      return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, y, 200, 18, window_, HMENU(INT_PTR(id)),
                             module, nullptr);
    };
    child(L"Edit", L"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, kUserId, 10);
    child(L"Edit", L"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_PASSWORD, kPassword, 32);
    for (int row = 0; row < 10; ++row) {
      std::wstring caption(kTypes[row], kTypes[row] + strlen(kTypes[row]));
      HWND box = child(L"Button", caption.c_str(), WS_TABSTOP | BS_CHECKBOX, orvane::win32::kDeviceCheckBoxIds[row],
                       60 + 20 * row);
      if (row == 9) EnableWindow(box, FALSE);
    }
    child(L"RecordingPageLink", L"Sign Up for a free account", 0, kLink, 270);
  }

  // The page's events, as its real counterpart handles them.
  static LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* page = reinterpret_cast<Page*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != WM_COMMAND || !page) return DefWindowProcW(window, message, wParam, lParam);
    const int id = LOWORD(wParam);
    HWND control = HWND(lParam);
    if ((id == kUserId || id == kPassword) && HIWORD(wParam) == EN_CHANGE) {
      wchar_t text[64] = {};
      GetWindowTextW(control, text, 64);
      PageLog().push_back(std::string("Change(") + (id == kUserId ? "UserID=" : "Password=") + Narrow(text) + ")");
      page->Edited();
    } else if (RowOf(id) >= 0 && HIWORD(wParam) == BN_CLICKED) {
      // BS_CHECKBOX: the page keeps the state itself.
      const bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
      SendMessageW(control, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
      PageLog().push_back(std::string("Click(") + kTypes[RowOf(id)] + ")");
      page->Edited();
    } else if (id == kLink && HIWORD(wParam) == STN_CLICKED) {
      PageLog().push_back("Click(link)");
      ShellExecuteW(nullptr, L"open", kRecordingPageUrl, L"", L"", SW_SHOW);
    }
    return 0;
  }

  void Edited() {
    if (!pageSite_) return;
    dirty_ = true;
    DISPPARAMS none = {};
    pageSite_->Invoke(0x2100, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
  }

  std::atomic<ULONG> refs_{1};
  comsupport::ComPtr<IOleClientSite> site_;
  comsupport::ComPtr<IOleInPlaceSite> inPlaceSite_;
  comsupport::ComPtr<IDispatch> pageSite_;
  HWND window_ = nullptr;
  bool dirty_ = false;
};

class Factory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = this;
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* page = new Page;
    const HRESULT hr = page->QueryInterface(iid, out);
    page->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

Factory factory;
DWORD cookie = 0;

}  // namespace

std::vector<std::string>& PageLog() {
  static std::vector<std::string> log;
  return log;
}

bool RegisterRecordingPage() {
  wchar_t clsid[64] = {};
  StringFromGUID2(kClsid, clsid, 64);
  const std::wstring key = std::wstring(kRecordingPageProgId) + L"\\CLSID";
  if (RegSetValueW(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, clsid, DWORD(wcslen(clsid) * sizeof(wchar_t))) !=
      ERROR_SUCCESS) {
    return false;
  }
  return SUCCEEDED(CoRegisterClassObject(kClsid, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie));
}

void RevokeRecordingPage() {
  if (cookie) CoRevokeClassObject(cookie);
  cookie = 0;
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kRecordingPageProgId);
}

}  // namespace options_test
