#include "optionspage/com/PageSite.h"

namespace orvane::com {

const IID IID_PropertyPageSite = {0x0006307F, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

void PageSite::OnStatusChange() {
  if (!site_) return;
  constexpr DISPID kOnStatusChange = 0x2100;
  DISPPARAMS none{};
  // The page does not stop on the dialog's answer: the dialog reads Dirty when it can.
  site_->Invoke(kOnStatusChange, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
}

}  // namespace orvane::com
