#pragma once
// The client's PropertyPageSite as the page's core sees it: OnStatusChange goes to the
// container's object through IDispatch (DISPID 0x2100), the way the client's own pages call it.
#include <windows.h>
#include <ole2.h>

#include "addin/objectmodel/Outlook.h"
#include "comsupport/ComPtr.h"

namespace orvane::com {

// {0006307F-0000-0000-C000-000000000046}
extern const IID IID_PropertyPageSite;

class PageSite final : public outlook::PropertyPageSite {
 public:
  explicit PageSite(comsupport::ComPtr<IDispatch> site) : site_(std::move(site)) {}
  void OnStatusChange() override;
  // Lets the container go (the control leaves its site); later calls do nothing.
  void Drop() { site_ = nullptr; }

 private:
  comsupport::ComPtr<IDispatch> site_;
};

}  // namespace orvane::com
