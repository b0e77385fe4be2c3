#pragma once
// The PropertyPages collection passed with OptionsPagesAdd: add-ins call Add(Page, Title)
// by name. Page is a ProgID (or a control already created); Title the tab's caption.
#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <string>

namespace host::win32 {

// What Add does with a page; a failure HRESULT goes back to the add-in.
using AddPage = std::function<HRESULT(const VARIANT& page, const std::wstring& title)>;

// Returns an owned reference. After Detach the collection refuses further pages (an add-in
// that kept it after the event).
IDispatch* CreatePropertyPages(AddPage add);
void DetachPropertyPages(IDispatch* pages);

}  // namespace host::win32
