#pragma once
// What the Options dialog gives a hosted page: the client site (with ambient properties and
// the control site), the in-place site, and the container that is also the in-place frame and
// answers for the client's PropertyPageSite. They report to a PageSink, which the dialog
// detaches when it goes, so that a page holding on to them meets inert objects.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>

namespace host::win32 {

// The client's PropertyPageSite and PropertyPage interfaces (IDs of its type library).
extern const IID kIidPropertyPageSite;  // {0006307F-0000-0000-C000-000000000046}
extern const IID kIidPropertyPage;      // {0006307E-0000-0000-C000-000000000046}
inline constexpr DISPID kDispGetPageInfo = 0x2100;
inline constexpr DISPID kDispDirty = 0x2101;
inline constexpr DISPID kDispApply = 0x2102;
inline constexpr DISPID kDispOnStatusChange = 0x2100;

class PageSink {
 public:
  virtual void Log(const std::string& call) = 0;
  virtual void StatusChanged() = 0;
  virtual HWND PageWindow() = 0;   // where the control lives: in-place window and rectangles
  virtual HWND FrameWindow() = 0;  // the dialog
  virtual IDispatch* Application() = 0;
  virtual void ActiveObject(IOleInPlaceActiveObject* object) = 0;

 protected:
  ~PageSink() = default;
};

// Creates the client site of one page; the container comes with it through GetContainer.
// Returns an owned reference. Detach(site) cuts it and its container off the sink.
IOleClientSite* CreatePageSite(PageSink* sink);
void DetachPageSite(IOleClientSite* site);

}  // namespace host::win32
